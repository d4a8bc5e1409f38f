#pragma once
// Resource and control ids shared by hoshizora.rc and the C++ code. The
// resource compiler cannot read the C++ constants in app/control_ids.h,
// so the control ids are repeated here; the window's test checks that the two
// agree.

#define IDI_APP 1
#define IDR_MAIN_MENU 101
#define IDD_MAIN 6000
#define IDC_STATIC (-1)
#define IDM_ABOUT 40001
#define IDM_KEYING 40002
#define IDM_PRACTICE 40003

#define IDC_OUTPUT 2004
#define IDC_SAVE 2002
#define IDC_LOAD 2003
#define IDC_CANCEL_BUTTON 5001

#define IDC_LABEL_BODY 7000
#define IDC_LABEL_COUNT 7001
#define IDC_LABEL_STATION 7002
#define IDC_LABEL_NUMBER 7003
#define IDC_LABEL_TIME 7004
#define IDC_LABEL_ADDRESSEE 7005
#define IDC_LABEL_FREQUENCY 7006
#define IDC_LABEL_SPEED 7007

#define IDC_BODY 1001
#define IDC_COUNT 1002
#define IDC_STATION 1003
#define IDC_NUMBER 1004
#define IDC_TIME 1005
#define IDC_ADDRESSEE 1006
#define IDC_FREQUENCY 3000
#define IDC_FREQUENCY_SPIN 4000
#define IDC_SPEED 3001
#define IDC_SPEED_SPIN 4001
#define IDC_OPEN_FOLDER 8003
