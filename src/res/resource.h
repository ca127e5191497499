// Ids of the menu commands, the main window's controls and the dialogs'
// controls: written once, here, for the resource script, the program and its
// tests. Plain definitions, so that the resource compiler reads them too.
#pragma once

// Menu MAINWINDOW_MENU.
#define IDM_SAMPLING_COUNT 1000
#define IDM_EXIT 1100
#define IDM_VERSION_CHECK 2000
#define IDM_ABOUT 2100

// The seven trade inputs in panel order: IDC_MARGIN + the field's index.
#define IDC_MARGIN 10001
#define IDC_LEVERAGE 10002
#define IDC_RATE 10003
#define IDC_UNIT_LOT_SIZE 10004
#define IDC_WIN_RATE 10005
#define IDC_TAKE_PROFIT 10006
#define IDC_STOP_LOSS 10007
#define IDC_TRADE_LOG 10008

// Outputs of the ARITHMETIC SIMULATION panel.
#define IDC_RUIN_RATE 10009
#define IDC_EXPECTED_WIN_ONLY 10010
#define IDC_EXPECTED_ALL 10011
#define IDC_EXPECTED_LOSE_ONLY 10012

// Outputs of the MONTE CARLO SIMULATION panel.
#define IDC_PROFIT 10013
#define IDC_HIGH_VALUE 10014
#define IDC_LOW_VALUE 10015
#define IDC_STATUS 10016
#define IDC_TRADE_COUNT 10017

// Buttons. One CLEAR per input: IDC_CLEAR_MARGIN + the field's index.
#define IDC_CLEAR_MARGIN 20001
#define IDC_CLEAR_STOP_LOSS 20007
#define IDC_SAVE 20008
#define IDC_LOAD 20009
#define IDC_REFERENCE 20010
#define IDC_WIN 20011
#define IDC_LOSE 20012
#define IDC_DROP_OUT 20013
#define IDC_ARITHMETIC_CALCULATE 20014
#define IDC_MONTE_CARLO_CALCULATE 20015

// MAINWINDOW_ARITHMETIC_SIMULATION_SETTINGBOX: the count's edit. SAVE is
// IDOK and CANCEL is IDCANCEL, so that Enter and Esc press them.
#define IDC_SAMPLING_COUNT 1010

// The progress window of a long simulation; its stop button is IDCANCEL, so
// that Esc and the close box stop the run too.
#define IDC_PROGRESS_BAR 1020
#define IDC_PROGRESS_TEXT 1021
