// Resource ids of the program's forms.
#pragma once

#define IDI_NOTOVA 1

#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101
#define IDR_TEXTFIELDPOPUP 102
#define IDR_TOOLBARPOPUP 103

// Main menu commands: one id per item, in menu order.
#define IDM_NEWINSTANCE 1001
#define IDM_NEW 1002
#define IDM_OPEN 1003
#define IDM_SAVE 1004
#define IDM_SAVEAS 1005
#define IDM_SAVESELECTED 1006
#define IDM_PRINT 1007
#define IDM_EXIT 1008
#define IDM_UNDO 1010
#define IDM_REDO 1011
#define IDM_CUT 1012
#define IDM_COPY 1013
#define IDM_PASTE 1014
#define IDM_SELECTALL 1015
#define IDM_FIND 1016
#define IDM_FINDNEXT 1017
#define IDM_REPLACE 1018
#define IDM_GOTOLINE 1019
#define IDM_VIEWASCII 1020
#define IDM_RUNOPEN 1030
#define IDM_RUNCONTEXT 1031
#define IDM_WORDWRAP 1040
#define IDM_WORDSELECT 1041
#define IDM_DETECTURLS 1042
#define IDM_SELECTIONBAR 1043
#define IDM_SHOWTOOLS 1044
#define IDM_SHOWSTATUSBAR 1045
#define IDM_AUTOINTEND 1046
#define IDM_ALWAYSDROPTONEWINSTANCE 1047
#define IDM_FONT 1048
#define IDM_CUSTOMIZE 1049
#define IDM_AUTOSAVESETTINGS 1050
#define IDM_SAVESETTINGS 1051
#define IDM_GOTOWEB 1060
#define IDM_ABOUT 1061
#define IDM_N5 1070

// Popup menus.
#define IDM_CUTPOP 1101
#define IDM_COPYPOP 1102
#define IDM_PASTEPOP 1103
#define IDM_HIDETOOLBAR 1111
#define IDM_CUSTOMIZEPOP 1112

// Program texts.
#define IDS_SAVECHANGES 2001
#define IDS_UNABLETOSAVE 2002
#define IDS_READONLY 2003
#define IDS_FOUNDABUG 2004
#define IDS_BUGHARMLESS 2005
#define IDS_LARGEFILE 2006
#define IDS_ZEROBYTES 2007
#define IDS_READFAILED 2008
#define IDS_AUTHOREMAIL 2009
#define IDS_REPLACEQUESTION 2010
#define IDS_LOADFAILED 2011
#define IDS_TOOLARGETOOPEN 2012
#define IDS_TOOLARGETOPASTE 2013
#define IDS_TOOLARGETOWRAP 2014
#define IDS_TOOLARGETOREPLACE 2015
#define IDS_TEXTNOTFOUND 2100

// The message box with a single Ignore button.
#define IDD_IGNOREBOX 3001
#define IDC_MESSAGEICON 3002
#define IDC_MESSAGETEXT 3003

// The program's pictures come drawn at 100%, 125%, 150% and 200%: the resource of the set at 125% is
// the one at 100% plus IDB_SETSTEP, at 150% plus twice that, at 200% plus three times.
#define IDB_SETSTEP 20

// Toolbar glyphs: the normal image and, to its right, the disabled one (WordWrap has one image).
#define IDB_NEWBTN 4001
#define IDB_OPENBTN 4002
#define IDB_SAVEBTN 4003
#define IDB_PRINTBTN 4004
#define IDB_EXITBTN 4005
#define IDB_UNDOBTN 4006
#define IDB_REDOBTN 4007
#define IDB_CUTBTN 4008
#define IDB_COPYBTN 4009
#define IDB_PASTEBTN 4010
#define IDB_FINDBTN 4011
#define IDB_REPLACEBTN 4012
#define IDB_WORDWRAP 4013
// The cursor that carries the toolbar or one of its buttons.
#define IDR_TOOLBARDRAGCURSOR 4100

// Texts of the toolbar's customize window.
#define IDS_SPEEDBARHINT 61157
#define IDS_SPEEDBARCATEGORIES 61158
#define IDS_SPEEDBARBUTTONS 61159
#define IDS_SPEEDBARCAPTION 61160

// The menus' images and the tags of the menu items that show them.
#define IDB_MENUIMAGES 4200
#define IDR_MAINMENUTAGS 4201
#define IDR_TEXTFIELDPOPUPTAGS 4202
// The About box: its form, the places of its controls in pixels, its picture and the link cursor.
#define IDD_ABOUT 5001
#define IDR_ABOUTLAYOUT 5002
#define IDB_ABOUTPICTURE 5003
#define IDC_BEVEL1 5010
#define IDC_NVLABEL1 5011
#define IDC_LABEL5 5012
#define IDC_LABEL1 5013
#define IDC_LABEL2 5014
#define IDC_LABEL3 5015
#define IDC_LABEL4 5016
#define IDC_URLLABEL1 5017
#define IDC_URLLABEL2 5018
#define IDC_IMAGE1 5019
// The author's web site (host name only), which Goto WEB and the About box open.
#define IDS_AUTHORWEB 5030
// The output file of a printer that prints to a file.
#define IDS_PRINTTOFILE 5031
#define IDS_PRINTFILEFILTER 5032
// The goto-line window: its form, the places of its controls in pixels and its failure text; the
// ASCII chart beside the text field.
#define IDD_GOTOLINE 6000
#define IDR_GOTOLINELAYOUT 6001
#define IDC_GOTOLINELABEL1 6002
#define IDC_LINENR 6003
#define IDC_LISTVIEW1 6010
#define IDS_GOTOLINEFAILED 2120
