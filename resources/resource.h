// Resource ids: dialog templates, controls, commands, menu, icons and bitmaps.
// Shared by Quarrow.rc and the window layer, so plain #defines.
#pragma once

// ---- Dialog templates.
#define IDD_ABOUT            100
#define IDD_SEARCHBAR        102
#define IDD_OPTIONS          139
#define IDD_ENGINES          151
#define IDD_KEYSITES         152
#define IDD_PICTUREPICKER    298

// ---- Search bar (102).
#define IDC_QUERY            1000
#define IDC_SEARCH           1001
#define IDC_ENGINE_BUTTON    1002
#define IDC_SITE_SWITCH      1003
#define IDC_SITE_BUTTON      1009
#define IDC_KEYWORD_BUTTON   1010
#define IDC_KEYWORD_SWITCH   1011

// ---- Engine settings (151).
#define IDC_ENGINE_UP        1004
#define IDC_ENGINE_DOWN      1005
#define IDC_ENGINE_DELETE    1014
#define IDC_ENGINE_LIST      1018
#define IDC_ENGINE_NAME      1019
#define IDC_ENGINE_CODE      1020
#define IDC_ENGINE_ADD       1023
#define IDC_ENGINE_MODIFY    1024
#define IDC_ENGINE_RESTORE   1044
#define IDC_ENGINE_SHORTCUT  1100
#define IDC_ENGINE_CODE_HINT 1101
#define IDC_ENGINE_SUGGEST   1102

// ---- Keyword and site settings (152).
#define IDC_SITE_COUNT       1001
#define IDC_SITE_UP          1008
#define IDC_SITE_DOWN        1009
#define IDC_KEYWORD_DELETE   1014
#define IDC_KEYWORD_LIST     1025
#define IDC_SITE_LIST        1026
#define IDC_SITE_ADD         1027
#define IDC_SITE_MODIFY      1028
#define IDC_SITE_DELETE      1029
#define IDC_KEYWORD_COUNT    1056
#define IDC_KEYWORD_EDIT     1059
#define IDC_SITE_EDIT        1060
#define IDC_KEYWORD_MODIFY   1061
#define IDC_KEYWORD_ADD      1062
#define IDC_KEYWORD_UP       1063
#define IDC_KEYWORD_DOWN     1064

// ---- Options (139): three radio groups and the suggestions' check box.
#define IDC_BROWSER_IE       1042
#define IDC_BROWSER_DEFAULT  1043
#define IDC_PLACE_LEFT       1045
#define IDC_PLACE_RIGHT      1046
#define IDC_BACKGROUND_COLOR 1047
#define IDC_BACKGROUND_IMAGE 1048
#define IDC_SUGGEST          1103

// ---- Picture chooser (298): slot s is radio 1078 + s with picture 1069 + s.
#define IDC_PICTURE_FIRST    1069
#define IDC_PAGE_LABEL       1074
#define IDC_PREVIOUS_PAGE    1057
#define IDC_NEXT_PAGE        1058
#define IDC_PICTURE_RADIO_FIRST 1078

// ---- About box (100).
#define IDC_CONTACT_ADDRESS  1006
#define IDC_HOME_PAGE_LINK   1067

// ---- Menu 135: pop-up 0 "FormPop", pop-up 1 "TrayPop"; and the commands.
#define IDR_POPUPS           135
#define ID_OPTIONS           32771
#define ID_ABOUT             32773
#define ID_EDIT_KEYWORDS_SITES 32780
#define ID_EDIT_ENGINES      32790
#define ID_SHOW_BAR          32791
#define ID_HIDE_BAR          32794
#define ID_CHOOSE_PICTURE    32795
#define ID_KEYWORD_FIRST     32796   // ..32805
#define ID_ENGINE_FIRST      32806   // ..32815
#define ID_SITE_FIRST        32816   // ..32825
#define ID_APP_EXIT          57665

// ---- Icons and bitmaps.
#define IDI_APP              128
#define IDI_ENGINE_FIRST     300     // ..309, one per engine menu position
#define IDB_PICTURE_FIRST    260     // ..289, pictures 1 to 30
#define IDB_EXTRA_290        290
#define IDB_EXTRA_299        299
#define IDB_EXTRA_300        300
