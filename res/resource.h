/* resource.h: resource and control numbers shared by the resource script and the code. */
#ifndef DOVRA_RESOURCE_H
#define DOVRA_RESOURCE_H

#define IDR_MAINMENU 1
#define IDI_DOVRA 1

#define IDM_EXIT 101
#define IDM_NEWGAME 102
#define IDM_SHOWSCORES 103
#define IDM_ABOUT 104
#define IDM_BIGBOARD 105
#define IDM_LITTLEBOARD 106
#define IDM_PREVIEW 107
#define IDM_SOUND 108
#define IDC_NEWGAME 500

#define IDD_NEWHIGHSCORE 1
#define IDD_TOPSCORES 2
#define IDC_NAME_EDIT 101
#define IDC_YOUR_SCORE 400
#define IDC_ROW_NAME 200
#define IDC_ROW_SCORE 300

/* Bitmaps 1-7 small pieces, 8 small empty square, 9-15 large pieces, 16 large empty square. */
#define IDB_SMALL_FIRST 1
#define IDB_SMALL_EMPTY 8
#define IDB_LARGE_FIRST 9
#define IDB_LARGE_EMPTY 16

#endif
