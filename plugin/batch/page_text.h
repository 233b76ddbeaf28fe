/* page_text.h - the fixed pieces of the Batch Download Window around its script and its
 * listing lines. */
#ifndef PAGE_TEXT_H
#define PAGE_TEXT_H

#define PAGE_MIME_TYPE     "text/html"
#define PAGE_TARGET        "_blank"   /* a new browser window */
#define PAGE_HEAD_START    "<HTML><HEAD><TITLE>Batch Download Window</TITLE><BASE href=\""
#define PAGE_HEAD_END      "\"></HEAD>\n"
#define PAGE_BODY_START    "</SCRIPT>\n<BODY>\n<FORM>\n"
#define PAGE_STATUS_EMBED  "<br><embed name=\"Simple\" type=application/tvn INWINDOW=yes width=700 height=26></BODY></HTML>"
#define PAGE_BUTTONS       "<br><hr><table border=0 width=100%><tr>\n" \
    "<td><input type=button name=done value=\"ADD TO BATCH\" onclick='saveArray()' onMouseOver=\"numChecked()\"></td>\n" \
    "<td><input type=button name=done value=\"BATCH DOWNLOAD\" onclick='document.Simple.getIt()'></td>\n" \
    "</tr></table></FORM>\n"

#define LINK_TAG           "<A HREF=\""   /* a file link of the listing, upper case only */
#define EMBED_END_MARK     "</embed>"     /* lines up to the first holding it are left out */
#define BODY_END_MARK      "</BODY>"      /* lines holding it are left out */
#define ANCHOR_TAIL_MARK   "</A>  "       /* the three characters after "</A>" go */
#define CHECKBOX_START     "<input type=checkbox name=\""
#define CHECKBOX_END       "\" onclick=setFile(this)>"

#endif /* PAGE_TEXT_H */
