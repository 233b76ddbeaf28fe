/* form1_layout.cpp - the settings dialog as laid out: every control's parent, place, size,
 * caption and tab order, in pixels at 96 pixels per inch. */
#include "form1.h"

TForm1 *Form1;

TForm1::TForm1() : TForm("TForm1")
{
    SetCaption("Form1");
    BorderStyle = bsDialog;
    Position = poScreenCenter;
    SetBounds(198, 119, 0, 0); /* design position; the size follows from the client size */
    SetClientSize(386, 354);
    FontName = "MS Sans Serif";
    FontSize = 8;
    OnCreate = [this](TObject *sender) { FormCreate(sender); };

    Button1 = new TButton(this);
    Button1->SetBounds(296, 8, 81, 25);
    Button1->SetCaption("&OK");
    Button1->SetTabOrder(3);
    Button1->Default = true;
    Button1->OnClick = [this](TObject *sender) { Button1Click(sender); };

    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetBounds(8, 64, 369, 89);
    GroupBox1->SetCaption(" &Default Pages List ");
    GroupBox1->SetTabOrder(0);

    Label1 = new TLabel(this);
    Label1->SetBounds(8, 8, 32, 13);
    Label1->SetCaption("Label1");

    Label2 = new TLabel(this);
    Label2->SetBounds(8, 24, 32, 13);
    Label2->SetCaption("Label2");

    Label3 = new TLabel(this);
    Label3->SetBounds(8, 40, 32, 13);
    Label3->SetCaption("Label3");

    Label4 = new TLabel(GroupBox1);
    Label4->SetBounds(16, 48, 296, 13);
    Label4->SetCaption("Enter a list of default pages IIS should look for separated by \";\"");

    Label5 = new TLabel(GroupBox1);
    Label5->SetBounds(16, 64, 245, 13);
    Label5->SetCaption("Exaple: default.htm;default.html;index.htm;index.html");

    Edit2 = new TEdit(GroupBox1);
    Edit2->SetBounds(16, 20, 337, 21);
    Edit2->SetText("Edit2");
    Edit2->SetTabOrder(0);

    GroupBox2 = new TGroupBox(this);
    GroupBox2->SetBounds(8, 256, 369, 89);
    GroupBox2->SetCaption(" &Log File Name ");
    GroupBox2->SetTabOrder(2);

    Edit1 = new TEdit(GroupBox2);
    Edit1->SetBounds(16, 20, 337, 21);
    Edit1->SetText("Edit1");
    Edit1->SetTabOrder(0);

    Label6 = new TLabel(GroupBox2);
    Label6->SetBounds(16, 48, 197, 13);
    Label6->SetCaption("Enter a log file name such as c:\\velmorin.log");

    Label7 = new TLabel(GroupBox2);
    Label7->SetBounds(16, 64, 213, 13);
    Label7->SetCaption("No log file will be created if this entry is blank.");

    GroupBox3 = new TGroupBox(this);
    GroupBox3->SetBounds(8, 160, 369, 89);
    GroupBox3->SetCaption(" Default &Page ");
    GroupBox3->SetTabOrder(1);

    Edit3 = new TEdit(GroupBox3);
    Edit3->SetBounds(16, 16, 337, 21);
    Edit3->SetText("Edit3");
    Edit3->SetTabOrder(0);

    Label8 = new TLabel(GroupBox3);
    Label8->SetBounds(16, 48, 338, 13);
    Label8->SetCaption("This page will be used if none of the pages in default pages list is found.");

    Label9 = new TLabel(GroupBox3);
    Label9->SetBounds(16, 64, 336, 13);
    Label9->SetCaption("This should contain the physical path to a file such as c:\\NotFound.htm");

    Button2 = new TButton(this);
    Button2->SetBounds(296, 35, 81, 25);
    Button2->SetCaption("&Cancel");
    Button2->SetTabOrder(4);
    Button2->OnClick = [this](TObject *sender) { Button2Click(sender); };
}
