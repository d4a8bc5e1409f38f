#include "platform/win32/win32_keying_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "base/decimal_parse.h"
#include "platform/win32/keying_dialog_ids.h"

namespace hoshizora {
namespace {

struct KeyingDialogState {
  KeyingOptions shown;
  int max_effective = 0;
  KeyingOptions chosen;
};

std::wstring Decimal(int value) {
  return std::to_wstring(value);
}

std::wstring RangeText(int minimum, int maximum) {
  return Decimal(minimum) + L"〜" + Decimal(maximum);
}

void BindField(HWND dialog, int edit, int spin, int minimum, int maximum, int shown) {
  HWND arrows = GetDlgItem(dialog, spin);
  SendMessageW(arrows, UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
  SendMessageW(arrows, UDM_SETPOS32, 0, static_cast<LPARAM>(shown));
  // After the position, which the spin keeps within its range: the edit shows
  // the value as it is, 0 (off) included.
  SetDlgItemTextW(dialog, edit, Decimal(shown).c_str());
}

int ReadField(HWND dialog, int edit, int shown) {
  HWND control = GetDlgItem(dialog, edit);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return DecideIntField(std::u16string(text.begin(), text.end()), shown);
}

INT_PTR CALLBACK KeyingDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    const auto& state = *reinterpret_cast<const KeyingDialogState*>(lparam);
    BindField(dialog, IDC_KEYING_RISE, IDC_KEYING_RISE_SPIN, 0, kMaxRiseMs, state.shown.rise_ms);
    BindField(dialog, IDC_KEYING_EFFECTIVE, IDC_KEYING_EFFECTIVE_SPIN, kMinEffectiveCpm,
              state.max_effective, state.shown.effective_cpm);
    SetDlgItemTextW(dialog, IDC_KEYING_RISE_RANGE, RangeText(0, kMaxRiseMs).c_str());
    SetDlgItemTextW(dialog, IDC_KEYING_EFFECTIVE_RANGE,
                    RangeText(kMinEffectiveCpm, state.max_effective).c_str());
    return TRUE;
  }
  auto* state = reinterpret_cast<KeyingDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message != WM_COMMAND || state == nullptr) {
    return FALSE;
  }
  switch (LOWORD(wparam)) {
    case IDOK:
      state->chosen = {
          .rise_ms = ReadField(dialog, IDC_KEYING_RISE, state->shown.rise_ms),
          .effective_cpm = ReadField(dialog, IDC_KEYING_EFFECTIVE, state->shown.effective_cpm)};
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<KeyingOptions> AskKeyingOptionsInDialog(HWND owner, const KeyingOptions& shown,
                                                      int max_effective) {
  KeyingDialogState state{shown, max_effective, shown};
  const INT_PTR answer = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_KEYING),
                                         owner, KeyingDialogProc, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) {
    return std::nullopt;
  }
  return state.chosen;
}

}  // namespace hoshizora
