/* page_script.cpp - the fixed texts of the Batch Download Window: its script, written as
 * one line, and the pieces around the listing. */
#include "batch_engine.h"

/* The script, in order; the empty text ends the table and is not written. */
const char *const pageScriptLines[] = {
    "<SCRIPT>",
    "function numChecked(){window.status=\"Add the \"+acnt+\" checked files to the Batch Download Queue\"; return true;}",
    "function saveArray() {for(var i=0; i<=acnt; i++)document.Simple.saveString(adata[i],i); document.Simple.saveString(null,-1); return false;}",
    "function MakeArray(n){this.length=n;for(var i=1; i<=n; i++)this[i]=0;return this;}",
    "adata = new MakeArray(1000);",
    "var acnt=0;",
    "function setFile(input) {",
    "if(input.checked == true)",
    "  {",
    "  adata[++acnt]=input.name;",
    "self.status=input.name;",
    "  }",
    "else {",
    "for(var i=1; i<=acnt; i++)",
    "if(adata[i]==input.name)",
    "{",
    "for(var k=i; k<acnt; k++)",
    "adata[k]=adata[k+1];",
    "adata[acnt--]=0;",
    "break;",
    "}",
    "}",
    "return false;",
    "}",
    "",
};
