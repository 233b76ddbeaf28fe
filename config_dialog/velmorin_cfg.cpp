/* velmorin_cfg.cpp - VelmorinCfg: the program around the settings dialog. */
#include <windows.h>

#include "form1.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance, (void)previous, (void)commandLine, (void)show;
    Application->Initialize();
    Application->CreateForm(&Form1);
    Application->Run();
    return 0;
}
