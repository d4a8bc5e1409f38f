#include "platform/win32/win32_main_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "app/main_dialog_template.h"
#include "app/practice_dialog_template.h"
#include "app/sending_dialog_template.h"
#include "platform/ini_file.h"
#include "platform/win32/resources/resource.h"
#include "support/fake_player.h"
#include "support/fake_recorder.h"
#include "support/recording_canvas.h"
#include "support/recording_icons.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

// After the ports: <windows.h> renames CreateFile, LoadBitmap and the like.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/dialog_fonts.h"
#include "platform/win32/keying_dialog_ids.h"

namespace hoshizora {
namespace {

// What initialisation needs of the system: where the program is and the clock.
class FixedSystem : public System {
 public:
  explicit FixedSystem(std::filesystem::path executable) : executable_(std::move(executable)) {}
  std::filesystem::path ExecutablePath() override { return executable_; }
  std::optional<LocalTime> LocalNow() override { return LocalTime{2024, 1, 31, 9, 5, 7}; }
  ProcessResult RunProcess(const std::vector<std::filesystem::path>&, const CancelFlag*) override {
    return {};
  }
  std::optional<std::uintmax_t> FileSize(const std::filesystem::path&) override {
    return std::nullopt;
  }
  bool PathExists(const std::filesystem::path& path) override {
    return std::filesystem::exists(path);
  }
  bool RemoveFile(const std::filesystem::path&) override { return false; }
  FolderMade CreateFolder(const std::filesystem::path&) override { return FolderMade::kFailed; }
  void OpenWithDesktop(const std::filesystem::path&) override {}

 private:
  std::filesystem::path executable_;
};

std::u16string ClassOf(HWND control) {
  wchar_t name[64] = {};
  GetClassNameW(control, name, 64);
  std::u16string s(name, name + wcslen(name));
  for (char16_t& c : s) {
    c = static_cast<char16_t>(towlower(c));
  }
  return s;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW lf{};
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  GetObjectW(font, sizeof lf, &lf);
  return lf;
}

std::u16string FaceOf(const LOGFONTW& lf) {
  return std::u16string(lf.lfFaceName, lf.lfFaceName + wcslen(lf.lfFaceName));
}

// Offers a key press to the dialog's keyboard handling, as the message loop does.
bool PressKey(HWND dialog, HWND target, WPARAM key) {
  MSG msg{target, WM_KEYDOWN, key, 1, 0, {}};
  return IsDialogMessageW(dialog, &msg) != FALSE;
}

// The window made from the program's own template, with the dialog's
// behaviour behind it as the program wires it.
class Win32MainWindowTest : public ::testing::Test {
 protected:
  void Open(bool with_behaviour) {
    if (with_behaviour) {
      window.SetInitHandler([this] { InitialiseMainDialog(main); });
      window.SetCloseHandler([this] { CloseMainDialog(main); });
    }
    window.SetCommandHandler([this, with_behaviour](int id) {
      commands.push_back(id);
      return with_behaviour ? HandleCommand(main, id) : true;
    });
    window.SetDestroyedHandler([this] { ++destroyed; });
    ASSERT_TRUE(window.Create(IDD_MAIN));
    dialog = window.window();
  }
  HWND Control(int id) const { return GetDlgItem(dialog, id); }
  std::string Settings() const { return testing::ReadFileBytes(dir.path() / "settings.ini"); }

  testing::TempDir dir;
  FixedSystem system{dir.path() / "hoshizora.exe"};
  testing::RecordingCanvas canvas;
  IniFileStore store{system, dir.path() / "settings.ini"};
  testing::RecordingIcons icons;
  Win32MainWindow window{MainDialogTemplate()};
  MainDialog main{window, system, canvas, store, icons, u"a@b.example"};
  HWND dialog = nullptr;
  std::vector<int> commands;
  int destroyed = 0;
};

// Where the dialog manager puts a control: position and size are each
// converted from dialog units on their own.
RECT TemplateRect(HWND dialog, const ControlSpec& c) {
  RECT units{c.x, c.y, c.width, c.height};
  MapDialogRect(dialog, &units);
  return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

const ControlSpec& SpecOf(int id) {
  for (const ControlSpec& c : MainDialogTemplate().controls) {
    if (c.id == id) {
      return c;
    }
  }
  throw std::out_of_range("no such control");
}

std::u16string WindowClassFor(ControlSpec::Kind kind) {
  switch (kind) {
    case ControlSpec::Kind::kLabel:
      return u"static";
    case ControlSpec::Kind::kMultiLine:
    case ControlSpec::Kind::kSingleLine:
    case ControlSpec::Kind::kReadOnlyText:
      return u"edit";
    case ControlSpec::Kind::kSpin:
      return u"msctls_updown32";
    default:
      return u"button";
  }
}

// The resource script's controls against the template the Qt window is
// built from: order, class, caption, style and place.
void ExpectControlsOfTemplate(HWND dialog, Dialog& port, const DialogTemplate& layout) {
  HWND child = GetWindow(dialog, GW_CHILD);
  for (const ControlSpec& c : layout.controls) {
    ASSERT_NE(child, nullptr) << "missing from " << c.id;
    EXPECT_EQ(GetDlgCtrlID(child), c.id);
    EXPECT_EQ(ClassOf(child), WindowClassFor(c.kind)) << c.id;
    EXPECT_EQ(port.GetControlText(c.id, INT_MAX), c.caption) << c.id;
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (c.kind == ControlSpec::Kind::kMultiLine) {
      EXPECT_EQ(style & (ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL | ES_AUTOHSCROLL | ES_READONLY),
                ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL)
          << c.id << ": wraps words, Enter breaks the line";
    } else if (c.kind == ControlSpec::Kind::kReadOnlyText) {
      EXPECT_EQ(style & (ES_MULTILINE | WS_VSCROLL | ES_AUTOHSCROLL | ES_READONLY),
                ES_MULTILINE | WS_VSCROLL | ES_READONLY)
          << c.id;
    } else if (c.kind == ControlSpec::Kind::kSingleLine) {
      EXPECT_EQ(style & (ES_MULTILINE | ES_AUTOHSCROLL), ES_AUTOHSCROLL) << c.id;
    } else if (c.kind == ControlSpec::Kind::kCheckBox) {
      EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX) << c.id;
    }
    // The spins align themselves beside their edits, which give up the room.
    const bool aligned_by_spin =
        &layout == &MainDialogTemplate() &&
        (c.id == ids::kFrequency || c.id == ids::kSpeed || c.kind == ControlSpec::Kind::kSpin);
    if (!aligned_by_spin) {
      const RECT expected = TemplateRect(dialog, c);
      RECT actual;
      GetWindowRect(child, &actual);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
      EXPECT_EQ(actual.left, expected.left) << c.id;
      EXPECT_EQ(actual.top, expected.top) << c.id;
      EXPECT_EQ(actual.right, expected.right) << c.id;
      EXPECT_EQ(actual.bottom, expected.bottom) << c.id;
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "a control the template does not have";
  RECT size{0, 0, layout.width, layout.height};
  MapDialogRect(dialog, &size);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);
  wchar_t title[32] = {};
  GetWindowTextW(dialog, title, 32);
  EXPECT_EQ(std::u16string(title, title + wcslen(title)), layout.title);
}

TEST_F(Win32MainWindowTest, TemplateMakesEveryControlInOrderWithItsCaptionAndPlace) {
  Open(false);
  const DialogTemplate& layout = MainDialogTemplate();
  ExpectControlsOfTemplate(dialog, window, layout);

  EXPECT_EQ(window.GetControlText(0, 0), u"");
  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  EXPECT_EQ(style & WS_VISIBLE, 0) << "the program shows the dialog itself";

  HMENU menu = GetMenu(dialog);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  wchar_t text[64] = {};
  GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_EQ(std::u16string(text, text + wcslen(text)), layout.menu_caption);
  HMENU other = GetSubMenu(menu, 0);
  ASSERT_EQ(GetMenuItemCount(other), static_cast<int>(layout.menu_items.size()));
  for (int i = 0; i < GetMenuItemCount(other); ++i) {
    const MenuItemSpec& item = layout.menu_items[static_cast<std::size_t>(i)];
    EXPECT_EQ(GetMenuItemID(other, i), static_cast<UINT>(item.id));
    GetMenuStringW(other, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::u16string(text, text + wcslen(text)), item.caption);
  }
}

TEST_F(Win32MainWindowTest, TabStopsFollowTheTemplateAndTheFocusStartsOnTheOutputButton) {
  Open(true);
  const int order[] = {2004, 2002, 2003, 5001, 1001, 1002, 1003,
                       1004, 1005, 1006, 3000, 3001, 8003};
  HWND at = GetNextDlgTabItem(dialog, nullptr, FALSE);
  for (int id : order) {
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(GetDlgCtrlID(at), id);
    at = GetNextDlgTabItem(dialog, at, FALSE);
  }
  EXPECT_EQ(GetDlgCtrlID(at), order[0]) << "the tab order wraps round";

  ShowWindow(dialog, SW_SHOWNORMAL);
  SetForegroundWindow(dialog);
  EXPECT_EQ(GetFocus(), Control(ids::kOutputButton));
}

TEST_F(Win32MainWindowTest, EnterRunsTheOutputNotTheLoadButton) {
  Open(false);
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELONG(ids::kOutputButton, DC_HASDEFID));
  const auto button_type = [this](int id) {
    return GetWindowLongW(Control(id), GWL_STYLE) & BS_TYPEMASK;
  };
  EXPECT_EQ(button_type(ids::kOutputButton), BS_DEFPUSHBUTTON);
  EXPECT_EQ(button_type(ids::kLoadButton), BS_PUSHBUTTON) << "the template's second default";

  EXPECT_TRUE(PressKey(dialog, Control(ids::kCount), VK_RETURN));
  EXPECT_TRUE(PressKey(dialog, Control(ids::kFrequency), VK_RETURN));
  // IDOK, as Enter arrives when there is no default button.
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(PressKey(dialog, Control(ids::kCount), VK_ESCAPE));
  EXPECT_EQ(commands, (std::vector<int>{2004, 2004, 2004, ids::kCancelKey}));

  // In the body Enter breaks the line instead.
  commands.clear();
  PressKey(dialog, Control(ids::kBody), VK_RETURN);
  EXPECT_TRUE(commands.empty());
}

TEST_F(Win32MainWindowTest, TextsAreCutAsAReadIntoABufferWouldCutThem) {
  Open(false);
  window.SetControlText(ids::kCount, u"abcdef");
  EXPECT_EQ(window.GetControlText(ids::kCount, 4), u"abc");
  EXPECT_EQ(window.GetControlText(ids::kCount, 7), u"abcdef");
  EXPECT_EQ(window.GetControlText(ids::kCount, INT_MAX), u"abcdef");
  EXPECT_EQ(window.GetControlText(ids::kCount, 1), u"");
  EXPECT_EQ(window.GetControlText(ids::kCount, 0), u"");

  // A character outside the basic plane is cut whole or not at all.
  window.SetControlText(ids::kStation, u"ab\U0001F4EEc");
  EXPECT_EQ(window.GetControlText(ids::kStation, 4), u"ab");
  EXPECT_EQ(window.GetControlText(ids::kStation, 5), u"ab\U0001F4EE");

  // Multi-line fields hold CR LF between lines, as the core does.
  window.SetControlText(ids::kBody, u"[ホレ]ア\r\nイ[ラタ]");
  EXPECT_EQ(window.GetControlText(ids::kBody, 4096), u"[ホレ]ア\r\nイ[ラタ]");
  EXPECT_EQ(SendMessageW(Control(ids::kBody), EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(window.GetControlText(ids::kBody, 7), u"[ホレ]ア\r");

  EXPECT_FALSE(window.HasControl(ids::kOpenAudio));
  EXPECT_EQ(window.GetControlText(ids::kOpenAudio, 100), u"");
}

TEST_F(Win32MainWindowTest, OnlyTheFolderOptionHasACheckBox) {
  Open(false);
  window.SetChecked(ids::kOpenFolder, true);
  EXPECT_TRUE(window.IsChecked(ids::kOpenFolder));
  EXPECT_EQ(IsDlgButtonChecked(dialog, ids::kOpenFolder), static_cast<UINT>(BST_CHECKED));
  window.SetChecked(ids::kOpenFolder, false);
  EXPECT_FALSE(window.IsChecked(ids::kOpenFolder));
  for (int id : {ids::kOpenAudio, ids::kOpenListing}) {
    window.SetChecked(id, true);
    EXPECT_FALSE(window.IsChecked(id)) << id;
  }
}

TEST_F(Win32MainWindowTest, SpinsAreBoundToTheirEditsAndWritePlainDigits) {
  Open(false);
  window.BindSpin(ids::kFrequencySpin, ids::kFrequency, 100, 2000, 1999);
  HWND spin = Control(ids::kFrequencySpin);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)),
            Control(ids::kFrequency));
  int low = 0;
  int high = 0;
  SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
               reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 100);
  EXPECT_EQ(high, 2000);
  EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 1999);
  EXPECT_EQ(window.GetControlText(ids::kFrequency, 31), u"1999");

  // Arrow keys in the edit step within the range, without digit grouping.
  SendMessageW(Control(ids::kFrequency), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(window.GetControlText(ids::kFrequency, 31), u"2000");
  SendMessageW(Control(ids::kFrequency), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(window.GetControlText(ids::kFrequency, 31), u"2000");
  SendMessageW(Control(ids::kFrequency), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(window.GetControlText(ids::kFrequency, 31), u"1999");

  // The spin takes the right end of its edit's place in the template.
  RECT edit;
  RECT arrows;
  GetWindowRect(Control(ids::kFrequency), &edit);
  GetWindowRect(spin, &arrows);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&edit), 2);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&arrows), 2);
  const RECT place = TemplateRect(dialog, SpecOf(ids::kFrequency));
  EXPECT_EQ(edit.left, place.left);
  EXPECT_NEAR(arrows.right, place.right, 2) << "once, not narrowed again by the binding";
  EXPECT_LE(arrows.left, edit.right);
  EXPECT_GT(arrows.left, place.left + (place.right - place.left) / 2);

  window.BindSpin(ids::kSpeedSpin, 9999, 20, 200, 100);  // no such edit: nothing happens
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(Control(ids::kSpeedSpin), UDM_GETBUDDY, 0, 0)),
            Control(ids::kSpeed))
      << "the template's automatic buddy stays";
}

TEST_F(Win32MainWindowTest, InitialisationSetsFontsSettingsAndTheSampleTelegram) {
  testing::WriteFileBytes(dir.path() / "settings.ini",
                          "[Other]\r\nKeep=1\r\n[General]\r\nFreqHz=5000\r\nCpm=5\r\n");
  Open(true);
  const int pixels = DialogFontPixels(ScreenPixelsPerInchY());
  const LOGFONTW body = FontOf(Control(ids::kBody));
  EXPECT_EQ(body.lfHeight, -pixels);
  EXPECT_EQ(body.lfWeight, 900);
  EXPECT_EQ(body.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(FaceOf(body), u"MS Gothic");
  for (int id :
       {ids::kCount, ids::kStation, ids::kNumber, ids::kTime, ids::kAddressee, ids::kFrequency,
        ids::kSpeed, ids::kOutputButton, ids::kSaveButton, ids::kLoadButton, ids::kCancelButton}) {
    const LOGFONTW f = FontOf(Control(id));
    EXPECT_EQ(f.lfHeight, -pixels) << id;
    EXPECT_EQ(f.lfWeight, 700) << id;
    EXPECT_EQ(FaceOf(f), u"MS Gothic") << id;
  }
  for (int id : ids::kLabels) {
    const LOGFONTW f = FontOf(Control(id));
    EXPECT_EQ(f.lfHeight, -20) << id;
    EXPECT_EQ(f.lfWeight, 700) << id;
    EXPECT_EQ(FaceOf(f), u"MS UI Gothic") << id;
  }
  const auto dialog_font = SendMessageW(dialog, WM_GETFONT, 0, 0);
  EXPECT_EQ(SendMessageW(Control(ids::kOpenFolder), WM_GETFONT, 0, 0), dialog_font);

  EXPECT_EQ(window.GetControlText(ids::kFrequency, 31), u"2000");
  EXPECT_EQ(window.GetControlText(ids::kSpeed, 31), u"20");
  EXPECT_EQ(SendMessageW(Control(ids::kSpeedSpin), UDM_GETPOS32, 0, 0), 20);
  EXPECT_TRUE(window.IsChecked(ids::kOpenFolder));
  EXPECT_EQ(window.GetControlText(ids::kBody, 8), u"[ホレ]ハルカ");
  EXPECT_EQ(window.GetControlText(ids::kTime, 100), u"コ9,05");
}

// A label is one line: text wider than its control wraps onto a second line
// that the control is too short to show, and the units of a field vanish.
// (The line's height may pass the control's by the font's leading.)
TEST_F(Win32MainWindowTest, EveryLabelShowsItsWholeTextInTheLabelFont) {
  Open(true);
  for (int id : ids::kLabels) {
    HWND label = Control(id);
    HDC dc = GetDC(label);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    const std::u16string text = window.GetControlText(id, 64);
    SIZE extent{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()),
                                      static_cast<int>(text.size()), &extent));
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT client;
    GetClientRect(label, &client);
    EXPECT_LE(extent.cx, client.right) << id;
  }
}

TEST_F(Win32MainWindowTest, EscSavesTheSettingsDestroysTheWindowAndKeepsOtherSections) {
  testing::WriteFileBytes(dir.path() / "settings.ini", "[Other]\r\nKeep=1\r\n");
  Open(true);
  window.SetControlText(ids::kFrequency, u"2500");
  window.SetChecked(ids::kOpenFolder, false);
  EXPECT_TRUE(PressKey(dialog, Control(ids::kCount), VK_ESCAPE));
  EXPECT_EQ(window.window(), nullptr);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(destroyed, 1);
  const std::string settings = Settings();
  EXPECT_NE(settings.find("[Other]"), std::string::npos);
  EXPECT_NE(settings.find("Keep=1"), std::string::npos);
  EXPECT_NE(settings.find("FreqHz=2000"), std::string::npos) << settings;
  EXPECT_NE(settings.find("Cpm=100"), std::string::npos) << settings;
  EXPECT_NE(settings.find("OpenWabunDir=0"), std::string::npos) << settings;
}

TEST_F(Win32MainWindowTest, CloseBoxTakesTheSamePathOnce) {
  Open(true);
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(destroyed, 1);
  EXPECT_NE(Settings().find("FreqHz=440"), std::string::npos);
  EXPECT_TRUE(main.closed);
}

// A 16 × 16 icon file of one 32-bit image.
std::string TinyIconFile() {
  std::string bytes;
  const auto put = [&bytes](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
      bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
  };
  constexpr std::uint32_t kImageBytes = 40 + 16 * 16 * 4 + 16 * 4;
  put(0, 2), put(1, 2), put(1, 2);  // icon file, one image
  put(16, 1), put(16, 1), put(0, 1), put(0, 1), put(1, 2), put(32, 2);
  put(kImageBytes, 4), put(6 + 16, 4);
  put(40, 4), put(16, 4), put(32, 4), put(1, 2), put(32, 2);  // header, height doubled
  put(0, 4), put(16 * 16 * 4 + 16 * 4, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
  for (int i = 0; i < 16 * 16; ++i) {
    put(0xFF2A4B99, 4);
  }
  bytes.append(16 * 4, '\0');  // the mask: every pixel shown
  return bytes;
}

TEST_F(Win32MainWindowTest, WindowIconsComeFromTheIconFileWhenItHoldsOne) {
  Open(false);
  window.SetWindowIcons("");
  window.SetWindowIcons(TinyIconFile().substr(0, 30));
  EXPECT_EQ(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0), 0);

  window.SetWindowIcons(TinyIconFile());
  EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0), 0);
}

// What the user does in the audio settings dialog once it is up.
struct KeyingVisit {
  std::u16string rise_shown;
  std::u16string effective_shown;
  std::u16string effective_range;
  int effective_low = 0;
  int effective_high = 0;
  std::wstring rise_typed;
  std::wstring effective_typed;
  int button = IDOK;
};
KeyingVisit* visit = nullptr;

KeyingVisit Typing(std::wstring rise, std::wstring effective, int button = IDOK) {
  KeyingVisit v;
  v.rise_typed = std::move(rise);
  v.effective_typed = std::move(effective);
  v.button = button;
  return v;
}

std::u16string TextOf(HWND control) {
  wchar_t text[64] = {};
  GetWindowTextW(control, text, 64);
  return std::u16string(text, text + wcslen(text));
}

// Runs inside the modal dialog's own loop.
void CALLBACK VisitKeyingDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", L"音声の設定");
  if (box == nullptr) {
    return;  // not up yet; the timer comes again
  }
  KillTimer(nullptr, timer);
  visit->rise_shown = TextOf(GetDlgItem(box, IDC_KEYING_RISE));
  visit->effective_shown = TextOf(GetDlgItem(box, IDC_KEYING_EFFECTIVE));
  visit->effective_range = TextOf(GetDlgItem(box, IDC_KEYING_EFFECTIVE_RANGE));
  SendMessageW(GetDlgItem(box, IDC_KEYING_EFFECTIVE_SPIN), UDM_GETRANGE32,
               reinterpret_cast<WPARAM>(&visit->effective_low),
               reinterpret_cast<LPARAM>(&visit->effective_high));
  SetDlgItemTextW(box, IDC_KEYING_RISE, visit->rise_typed.c_str());
  SetDlgItemTextW(box, IDC_KEYING_EFFECTIVE, visit->effective_typed.c_str());
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(visit->button, BN_CLICKED), 0);
}

std::optional<KeyingOptions> AskKeying(Win32MainWindow& window, KeyingVisit& v,
                                       const KeyingOptions& shown, int max_effective) {
  visit = &v;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, VisitKeyingDialog);
  auto answer = window.AskKeyingOptions(shown, max_effective);
  KillTimer(nullptr, timer);
  visit = nullptr;
  return answer;
}

TEST_F(Win32MainWindowTest, AudioSettingsDialogShowsTheValuesAndGivesWhatWasTyped) {
  Open(false);
  KeyingVisit typed = Typing(L"7", L"250");
  const auto chosen = AskKeying(window, typed, {.rise_ms = 0, .effective_cpm = 0}, 180);
  EXPECT_EQ(typed.rise_shown, u"0");
  EXPECT_EQ(typed.effective_shown, u"0") << "off shows as 0, not as the spin's lowest";
  EXPECT_EQ(typed.effective_range, u"20〜180");
  EXPECT_EQ(typed.effective_low, kMinEffectiveCpm);
  EXPECT_EQ(typed.effective_high, 180);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, (KeyingOptions{.rise_ms = 7, .effective_cpm = 250})) << "unbounded";

  KeyingVisit blank = Typing(L"", L"abc");
  EXPECT_EQ(AskKeying(window, blank, {.rise_ms = 5, .effective_cpm = 60}, 100),
            (KeyingOptions{.rise_ms = 5, .effective_cpm = 60}))
      << "a field without a number keeps its shown value";

  KeyingVisit cancelled = Typing(L"9", L"30", IDCANCEL);
  EXPECT_EQ(AskKeying(window, cancelled, {.rise_ms = 5, .effective_cpm = 60}, 100), std::nullopt);
}

TEST_F(Win32MainWindowTest, LongWorkRunsAwayFromTheWindowWhichKeepsAnsweringAndCanCancel) {
  Open(false);
  ShowWindow(dialog, SW_SHOWNORMAL);
  const DWORD ui_thread = GetCurrentThreadId();
  DWORD work_thread = 0;
  bool owner_disabled = false;
  bool owner_answered = false;
  bool shown = false;
  bool cancelled = false;
  window.RunWithProgress(u"電報出力", [&](ProgressReporter& progress) {
    work_thread = GetCurrentThreadId();
    owner_disabled = !IsWindowEnabled(dialog);
    DWORD_PTR result = 0;
    owner_answered = SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
    progress.Report(u"テキスト画像を作成中", 0.5);
    progress.Report(u"音声を書き込み、MP3に変換中", ProgressReporter::kUnknownShare);
    // The window comes up once the work has taken a moment; the user presses Cancel.
    HWND box = FindWindowW(L"HoshizoraProgressWindow", L"電報出力");
    for (int i = 0; i < 500 && !IsWindowVisible(box); ++i) {
      Sleep(10);
    }
    shown = IsWindowVisible(box) != FALSE;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    for (int i = 0; i < 500 && !progress.Cancel(); ++i) {
      Sleep(10);
    }
    cancelled = progress.Cancel();
    // A quit message meanwhile is kept for the program's own loop.
    PostThreadMessageW(ui_thread, WM_QUIT, 7, 0);
  });
  EXPECT_NE(work_thread, 0u);
  EXPECT_NE(work_thread, ui_thread);
  EXPECT_TRUE(owner_disabled);
  EXPECT_TRUE(owner_answered);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(cancelled);
  EXPECT_TRUE(IsWindowEnabled(dialog));
  EXPECT_EQ(FindWindowW(L"HoshizoraProgressWindow", nullptr), nullptr);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(Win32MainWindowTest, WhatTheWorkThrowsComesBackToTheCaller) {
  Open(false);
  EXPECT_THROW(window.RunWithProgress(u"電報出力",
                                      [](ProgressReporter&) { throw std::runtime_error("disk"); }),
               std::runtime_error);
  EXPECT_TRUE(IsWindowEnabled(dialog));
}

TEST_F(Win32MainWindowTest, PracticeTemplateMatchesTheResourceScript) {
  Open(false);
  Win32MainWindow practice(PracticeDialogTemplate());
  ASSERT_TRUE(practice.Create(IDD_PRACTICE, dialog));
  EXPECT_EQ(GetWindow(practice.window(), GW_OWNER), dialog);
  ExpectControlsOfTemplate(practice.window(), practice, PracticeDialogTemplate());
  EXPECT_EQ(SendMessageW(practice.window(), DM_GETDEFID, 0, 0),
            MAKELONG(ids::kScoreButton, DC_HASDEFID));
}

TEST_F(Win32MainWindowTest, SendingTemplateMatchesTheResourceScript) {
  Open(false);
  Win32MainWindow sending(SendingDialogTemplate());
  ASSERT_TRUE(sending.Create(IDD_SENDING, dialog));
  ExpectControlsOfTemplate(sending.window(), sending, SendingDialogTemplate());
  EXPECT_EQ(SendMessageW(sending.window(), DM_GETDEFID, 0, 0),
            MAKELONG(ids::kRecordButton, DC_HASDEFID));
}

// What the learner sees and does once the practice dialog is up, inside its
// own loop.
struct PracticeVisit {
  bool owner_disabled = false;
  bool play_enabled_before = true;
  bool play_enabled_after = false;
  std::u16string key_status;
  std::u16string main_body;
  std::u16string result;
  HWND box = nullptr;
};
PracticeVisit* practice_visit = nullptr;
HWND practice_owner = nullptr;

std::u16string LongTextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return std::u16string(text.begin(), text.end());
}

void Click(HWND box, int id) {
  SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

void CALLBACK VisitPracticeDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", L"受信練習");
  if (box == nullptr || !IsWindowVisible(box)) {
    return;
  }
  KillTimer(nullptr, timer);
  PracticeVisit& v = *practice_visit;
  v.box = box;
  v.owner_disabled = !IsWindowEnabled(practice_owner);
  v.play_enabled_before = IsWindowEnabled(GetDlgItem(box, IDC_PRACTICE_PLAY)) != FALSE;
  SetDlgItemTextW(box, IDC_PRACTICE_LENGTH, L"10-12");
  Click(box, IDC_PRACTICE_NEW);
  v.key_status = LongTextOf(GetDlgItem(box, IDC_PRACTICE_KEY_STATUS));
  v.main_body = LongTextOf(GetDlgItem(practice_owner, ids::kBody));
  v.play_enabled_after = IsWindowEnabled(GetDlgItem(box, IDC_PRACTICE_PLAY)) != FALSE;
  Click(box, IDC_PRACTICE_PLAY);
  SetDlgItemTextW(box, IDC_PRACTICE_COPY, L"アイウ");
  Click(box, IDC_PRACTICE_SCORE);
  v.result = LongTextOf(GetDlgItem(box, IDC_PRACTICE_RESULT));
  // Esc in the copy box, as the learner presses it.
  PressKey(box, GetDlgItem(box, IDC_PRACTICE_COPY), VK_ESCAPE);
}

// The main window built as the program builds it, its dialogs run from the
// menu while a timer's visit works them inside their own loops.
class Win32PracticeDialogsTest : public ::testing::Test {
 protected:
  Win32PracticeDialogsTest() {
    // The form template: without it the runs would stop at a message box.
    const std::filesystem::path form = u8"和文電報受信用紙.jpg";
    std::filesystem::copy_file(std::filesystem::path(HOSHIZORA_ASSETS_DIR) / form,
                               dir.path() / form);
    window.SetInitHandler([this] { InitialiseMainDialog(main); });
    window.SetCommandHandler([this](int id) { return HandleCommand(main, id); });
  }
  // Shows the window; the test sets the player or recorder first.
  bool Open() {
    if (!window.Create(IDD_MAIN)) {
      return false;
    }
    ShowWindow(window.window(), SW_SHOWNORMAL);
    return true;
  }
  // Chooses the menu item, which returns once `visit` has closed its dialog.
  void RunMenuItem(int item, TIMERPROC visit) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, visit);
    SendMessageW(window.window(), WM_COMMAND, MAKEWPARAM(item, 0), 0);
    KillTimer(nullptr, timer);
  }

  testing::TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora.exe"};
  testing::RecordingCanvas canvas;
  IniFileStore store{system, dir.path() / "settings.ini"};
  testing::RecordingIcons icons;
  Win32MainWindow window{MainDialogTemplate()};
  MainDialog main{window, system, canvas, store, icons, u"a@b.example"};
};

// The menu item runs the practice dialog over the main window, which takes
// no input meanwhile; Esc closes the practice dialog and nothing else.
TEST_F(Win32PracticeDialogsTest, ReceptionMenuItemRunsItModallyAndEscClosesOnlyIt) {
  testing::FakePlayer player;
  main.player = &player;
  main.scratch_folder = dir.path();
  ASSERT_TRUE(Open());
  const std::u16string body = window.GetControlText(ids::kBody, ids::kBodyBuffer);

  PracticeVisit visit;
  practice_visit = &visit;
  practice_owner = window.window();
  RunMenuItem(IDM_RECEPTION, VisitPracticeDialog);
  practice_visit = nullptr;

  EXPECT_TRUE(visit.owner_disabled);
  EXPECT_FALSE(visit.play_enabled_before) << "nothing to play yet";
  EXPECT_TRUE(visit.play_enabled_after);
  EXPECT_NE(visit.key_status.find(u"和文電報_20240131_090507"), std::u16string::npos);
  EXPECT_EQ(visit.main_body, body) << "the answer stays out of sight";
  ASSERT_EQ(player.played.size(), 1u);
  EXPECT_EQ(player.played[0].filename(), u"和文電報_20240131_090507.wav");
  EXPECT_NE(visit.result.find(u"得点 "), std::u16string::npos);
  EXPECT_FALSE(IsWindow(visit.box)) << "Esc closed it";
  EXPECT_TRUE(IsWindow(window.window())) << "and nothing else";
  EXPECT_TRUE(IsWindowEnabled(window.window()));
  EXPECT_FALSE(main.closed);
  EXPECT_EQ(window.GetControlText(ids::kBody, ids::kBodyBuffer), body);
}

TEST(DialogFontsTest, LogFontsCarryHeightWeightAndABoundedFace) {
  const LOGFONTW gothic = DialogLogFont({u"MS Gothic", 29, 900}, nullptr);
  EXPECT_EQ(gothic.lfHeight, -29);
  EXPECT_EQ(gothic.lfWidth, 0);
  EXPECT_EQ(gothic.lfWeight, 900);
  EXPECT_EQ(gothic.lfItalic, 0);
  EXPECT_EQ(gothic.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(gothic.lfQuality, 0);
  EXPECT_STREQ(gothic.lfFaceName, L"MS Gothic");

  const LOGFONTW long_face = DialogLogFont({std::u16string(40, u'x'), 20, 700}, nullptr);
  EXPECT_EQ(wcslen(long_face.lfFaceName), static_cast<std::size_t>(LF_FACESIZE - 1));

  LOGFONTW gui{};
  gui.lfHeight = -11;
  gui.lfCharSet = SHIFTJIS_CHARSET;
  gui.lfQuality = CLEARTYPE_QUALITY;
  const LOGFONTW label = DialogLogFont({u"MS UI Gothic", 20, 700}, &gui);
  EXPECT_EQ(label.lfHeight, -20);
  EXPECT_EQ(label.lfWeight, 700);
  EXPECT_EQ(label.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(label.lfQuality, CLEARTYPE_QUALITY);
  EXPECT_STREQ(label.lfFaceName, L"MS UI Gothic");
}

// What the learner sees and does in the sending dialog, inside its own loop.
struct SendingVisit {
  bool record_enabled_before = true;
  std::u16string telegram;
  std::u16string status;
  std::u16string result;
  HWND box = nullptr;
};
SendingVisit* sending_visit = nullptr;

void CALLBACK VisitSendingDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", L"送信練習");
  if (box == nullptr || !IsWindowVisible(box)) {
    return;
  }
  KillTimer(nullptr, timer);
  SendingVisit& v = *sending_visit;
  v.box = box;
  v.record_enabled_before = IsWindowEnabled(GetDlgItem(box, IDC_SENDING_RECORD)) != FALSE;
  SetDlgItemTextW(box, IDC_PRACTICE_LENGTH, L"10-12");
  Click(box, IDC_PRACTICE_NEW);
  v.telegram = LongTextOf(GetDlgItem(box, IDC_SENDING_TEXT));
  Click(box, IDC_SENDING_RECORD);
  Click(box, IDC_SENDING_STOP);
  v.status = LongTextOf(GetDlgItem(box, IDC_SENDING_STATUS));
  v.result = LongTextOf(GetDlgItem(box, IDC_PRACTICE_RESULT));
  PressKey(box, GetDlgItem(box, IDC_PRACTICE_RESULT), VK_ESCAPE);
}

// The sending dialog from the menu, with a recorder whose take is silence:
// the telegram is shown, the take kept and read, and Esc closes it alone.
TEST_F(Win32PracticeDialogsTest, SendingMenuItemRecordsReadsAndEscClosesOnlyIt) {
  testing::FakeRecorder recorder;
  recorder.taken = Recording{8000, std::vector<std::int16_t>(16000, 0)};
  main.recorder = &recorder;
  ASSERT_TRUE(Open());

  SendingVisit visit;
  sending_visit = &visit;
  RunMenuItem(IDM_SENDING, VisitSendingDialog);
  sending_visit = nullptr;

  EXPECT_FALSE(visit.record_enabled_before) << "nothing to send yet";
  EXPECT_NE(visit.telegram.find(u"[ホレ]"), std::u16string::npos);
  EXPECT_EQ(recorder.starts, 1);
  EXPECT_NE(visit.status.find(u"送信_20240131_090507.wav"), std::u16string::npos);
  EXPECT_EQ(visit.result.rfind(u"モールス符号を聞き取れませんでした", 0), 0u);
  EXPECT_FALSE(IsWindow(visit.box)) << "Esc closed it";
  EXPECT_TRUE(IsWindow(window.window())) << "and nothing else";
  EXPECT_FALSE(main.closed);
}

}  // namespace
}  // namespace hoshizora
