/* form1.h - the settings dialog of the filter: its controls and event handlers. */
#ifndef FORM1_H
#define FORM1_H

#include "forms.h"

class TForm1 : public TForm {
public:
    TForm1(); /* builds the controls as laid out; windows come later, from the application */

    TButton *Button1;
    TGroupBox *GroupBox1;
    TLabel *Label1;
    TLabel *Label2;
    TLabel *Label3;
    TLabel *Label4;
    TLabel *Label5;
    TEdit *Edit2;
    TGroupBox *GroupBox2;
    TEdit *Edit1;
    TLabel *Label6;
    TLabel *Label7;
    TGroupBox *GroupBox3;
    TEdit *Edit3;
    TLabel *Label8;
    TLabel *Label9;
    TButton *Button2;

    void FormCreate(TObject *Sender);
    void Button1Click(TObject *Sender);
    void Button2Click(TObject *Sender);
};

extern TForm1 *Form1;

#endif /* FORM1_H */
