#pragma once
// The audio settings dialog's template and controls, shared by the resource
// script and the code that runs the dialog; plain macros, as the resource
// compiler reads them too.

#define IDD_KEYING 6001

#define IDC_KEYING_RISE 6101
#define IDC_KEYING_RISE_SPIN 6102
#define IDC_KEYING_RISE_RANGE 6103
#define IDC_KEYING_EFFECTIVE 6111
#define IDC_KEYING_EFFECTIVE_SPIN 6112
#define IDC_KEYING_EFFECTIVE_RANGE 6113
