// Resource identifiers of the pictures, icon and pointer the windows load. Shared by the
// resource script and the C++ code; the pictures themselves live under assets/.
#pragma once

#define IDI_TESSARINE 1        // window and tray icon: 16, 20, 24, 32 and 48 px, 16 colours
#define IDC_HANDPOINT 101      // 32 x 32 monochrome pointing hand, hot spot (12, 10)

#define IDB_TEXTURE 201        // Pic_Mbl: 579 x 21 panel texture tile
#define IDB_TITLE 202          // Image1: 537 x 22 title strip
#define IDB_CLOSE_UP 203       // imgImages(0): 15 x 15 close face, released
#define IDB_CLOSE_DOWN 204     // imgImages(1): 15 x 15 close face, pressed
#define IDB_HEADING 205        // Img_TT(0): 95 x 22 group heading background
#define IDB_BUTTON_OFF 206     // Img_Off: 21 x 20 released button face (stretched)
#define IDB_BUTTON_ON 207      // Img_On: 21 x 20 pressed button face (stretched)
#define IDB_OPTION_OFF 208     // Img_Opt_Off: 13 x 13 unselected option mark
#define IDB_OPTION_ON 209      // Img_Opt_On: 13 x 13 selected option mark
#define IDB_SWITCH_OFF 210     // Img_Ra(0): 12 x 12 alarm switch, off
#define IDB_SWITCH_ON 211      // Img_Ra(1): 12 x 12 alarm switch, on

// The same pictures drawn at 150 % (the id above plus 100) and at 200 % (plus 200), each the
// 100 % size scaled and rounded half up: 15 x 15 is 23 x 23 at 150 %. The texture, a tile, has
// only a 200 % drawing, which serves every larger scale.
#define IDB_TITLE_150 302
#define IDB_CLOSE_UP_150 303
#define IDB_CLOSE_DOWN_150 304
#define IDB_HEADING_150 305
#define IDB_BUTTON_OFF_150 306
#define IDB_BUTTON_ON_150 307
#define IDB_OPTION_OFF_150 308
#define IDB_OPTION_ON_150 309
#define IDB_SWITCH_OFF_150 310
#define IDB_SWITCH_ON_150 311

#define IDB_TEXTURE_200 401
#define IDB_TITLE_200 402
#define IDB_CLOSE_UP_200 403
#define IDB_CLOSE_DOWN_200 404
#define IDB_HEADING_200 405
#define IDB_BUTTON_OFF_200 406
#define IDB_BUTTON_ON_200 407
#define IDB_OPTION_OFF_200 408
#define IDB_OPTION_ON_200 409
#define IDB_SWITCH_OFF_200 410
#define IDB_SWITCH_ON_200 411
