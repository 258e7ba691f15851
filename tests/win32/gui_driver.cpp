// Drives valvescope.exe from outside as a user would, one step per run, for
// the tests under Wine (tests/integration/wine_gui_rig.h): it finds the
// program's windows by their captions, reads what they show, types into
// edits, presses buttons, menu items and keys, and asks the window to end the
// session. Prints what it read on standard output; exit code 0 when the step
// was done, 1 when it could not be, 2 for a usage error.

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "widgets/palette.h"

namespace {

using namespace std::chrono_literals;

constexpr const wchar_t* kMainWindowClass = L"ValvescopeMainWindow";
constexpr const wchar_t* kUsage =
    L"Usage: win32_gui_driver STEP [ARGUMENTS]\n"
    L"A WINDOW is \"main\" (the main window) or a dialog's exact caption.\n"
    L"  wait WINDOW [SECONDS]      until the window is on the screen\n"
    L"  gone WINDOW [SECONDS]      until it is not\n"
    L"  title                      the main window's title\n"
    L"  status PART                a part of the main window's status bar\n"
    L"  text WINDOW ID             the text of a control (ID 0: every control's)\n"
    L"  enabled WINDOW ID          1 or 0\n"
    L"  set WINDOW ID TEXT         types TEXT into an edit, replacing its text\n"
    L"  click WINDOW ID            clicks an enabled button\n"
    L"  command ID                 chooses a menu item of the main window\n"
    L"  key F2|F3|F4|F12|Escape    presses a key in the main window\n"
    L"  close WINDOW               clicks the window's close box\n"
    L"  end-session                Windows logs the user out\n"
    L"  painted [SECONDS]          until the main window shows the instrument panel\n"
    L"  rect WINDOW                x y width height on the screen\n"
    L"  checked WINDOW ID          1 or 0: a check box or a push button that stays in\n"
    L"  choose WINDOW ID N         picks item N of a drop-down list\n"
    L"  rows WINDOW ID             the number of rows of a list view\n"
    L"  row WINDOW ID N            a list view's row N, its cells between tabs (N -1:\n"
    L"                             the column titles)\n"
    L"  select WINDOW ID N         clicks a list view's row N\n";

void print(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                      nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fputc('\n', stdout);
}

std::wstring className(HWND window) {
  wchar_t type[64] = {};
  GetClassNameW(window, type, 64);
  return type;
}

std::wstring windowText(HWND window) {
  wchar_t text[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 10000,
                      nullptr);
  return text;
}

struct Search {
  std::wstring caption;
  HWND found = nullptr;
};

// The main window, or a dialog (a message box too) with exactly that caption.
BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  if (!IsWindowVisible(window)) return TRUE;
  const std::wstring type = className(window);
  const bool match = search.caption == L"main"
                         ? type == kMainWindowClass
                         : type == L"#32770" && windowText(window) == search.caption;
  if (!match) return TRUE;
  search.found = window;
  return FALSE;
}

HWND find(const std::wstring& caption) {
  Search search{caption};
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool waitFor(const std::function<bool()>& condition, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(100ms);
  }
}

// Memory in the process of a control, for the messages of the common
// controls that read or write through a pointer: Windows carries those
// between processes for the standard controls only.
class RemoteMemory {
 public:
  static constexpr std::size_t kSize = 8192;

  explicit RemoteMemory(HWND control) {
    DWORD process = 0;
    GetWindowThreadProcessId(control, &process);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (process_ != nullptr) {
      at_ =
          static_cast<char*>(VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
  }
  ~RemoteMemory() {
    if (at_ != nullptr) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool ok() const { return at_ != nullptr; }
  // The address `offset` bytes in, as the control's process sees it.
  char* at(std::size_t offset) const { return at_ + offset; }
  void write(std::size_t offset, const void* bytes, std::size_t size) const {
    WriteProcessMemory(process_, at_ + offset, bytes, size, nullptr);
  }
  void read(std::size_t offset, void* bytes, std::size_t size) const {
    ReadProcessMemory(process_, at_ + offset, bytes, size, nullptr);
  }
  std::wstring text(std::size_t offset) const {
    std::wstring text((kSize - offset) / sizeof(wchar_t), L'\0');
    read(offset, text.data(), text.size() * sizeof(wchar_t));
    text.resize(text.find(L'\0'));
    return text;
  }

 private:
  HANDLE process_ = nullptr;
  char* at_ = nullptr;
};

// Reads a status bar part: the bar writes into memory of its own process.
std::wstring statusText(HWND window, int part) {
  HWND bar = FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
  const RemoteMemory memory(bar);
  if (bar == nullptr || !memory.ok()) return L"?";
  SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(memory.at(0)));
  return memory.text(0);
}

// A list view's row, its cells between tabs; row -1: the column titles.
std::wstring listRow(HWND list, int row) {
  const RemoteMemory memory(list);
  if (!memory.ok()) return L"?";
  const auto columns = static_cast<int>(SendMessageW(
      reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
  constexpr std::size_t kText = 512;  // past the item or column record
  std::wstring cells;
  for (int column = 0; column < columns; ++column) {
    memory.write(kText, L"", sizeof(wchar_t));
    if (row < 0) {
      LVCOLUMNW title{};
      title.mask = LVCF_TEXT;
      title.pszText = reinterpret_cast<wchar_t*>(memory.at(kText));
      title.cchTextMax = static_cast<int>((RemoteMemory::kSize - kText) / sizeof(wchar_t));
      memory.write(0, &title, sizeof title);
      SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(memory.at(0)));
    } else {
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = reinterpret_cast<wchar_t*>(memory.at(kText));
      item.cchTextMax = static_cast<int>((RemoteMemory::kSize - kText) / sizeof(wchar_t));
      memory.write(0, &item, sizeof item);
      SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(memory.at(0)));
    }
    cells += (column > 0 ? L"\t" : L"") + memory.text(kText);
  }
  return cells;
}

// Brings a row into view and clicks it, on its first cell.
bool clickRow(HWND list, int row) {
  const RemoteMemory memory(list);
  if (!memory.ok()) return false;
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  memory.write(0, &bounds, sizeof bounds);
  if (SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(memory.at(0))) == FALSE) {
    return false;
  }
  memory.read(0, &bounds, sizeof bounds);
  const LPARAM at = MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  return true;
}

// Whether the main window shows the instrument panel: a quarter of it in the
// panel's teal and a tenth in the dial faces' and the chart's light face.
bool showsPanel(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  if (client.right < 1 || client.bottom < 1) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(memory, picture);
  // PrintWindow would be tidier, but Wine cannot draw on another process's DC.
  HDC screen = GetDC(window);
  BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  ReleaseDC(window, screen);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  long sampled = 0;
  long teal = 0;
  long faces = 0;
  for (int y = 0; y < client.bottom; y += 2) {
    for (int x = 0; x < client.right; x += 2) {
      const std::uint32_t pixel = pixels[static_cast<std::size_t>(y) * client.right + x];
      const vs::Rgb colour{static_cast<std::uint8_t>(pixel >> 16),
                           static_cast<std::uint8_t>(pixel >> 8), static_cast<std::uint8_t>(pixel)};
      ++sampled;
      teal += colour == vs::Rgb{70, 140, 140};
      faces += colour == vs::kLightFace;
    }
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(picture);
  return teal > sampled / 4 && faces > sampled / 10;
}

WORD keyCode(std::wstring_view name) {
  if (name == L"F2") return VK_F2;
  if (name == L"F3") return VK_F3;
  if (name == L"F4") return VK_F4;
  if (name == L"F12") return VK_F12;
  if (name == L"Escape") return VK_ESCAPE;
  return 0;
}

int fail(const std::wstring& why) {
  print(L"win32_gui_driver: " + why);
  return 1;
}

int run(const std::vector<std::wstring>& a) {
  const std::wstring& step = a[0];
  const auto number = [&a](std::size_t i, double fallback) {
    return i < a.size() ? std::stod(a[i]) : fallback;
  };
  if (step == L"wait" && a.size() >= 2) {
    return waitFor([&] { return find(a[1]) != nullptr; }, number(2, 120)) ? 0
                                                                          : fail(L"no " + a[1]);
  }
  if (step == L"gone" && a.size() >= 2) {
    return waitFor([&] { return find(a[1]) == nullptr; }, number(2, 120)) ? 0
                                                                          : fail(a[1] + L" stays");
  }
  if (step == L"end-session" || step == L"title" || step == L"status" || step == L"command" ||
      step == L"key" || step == L"painted") {
    HWND main = find(L"main");
    if (main == nullptr) return fail(L"no main window");
    if (step == L"title") {
      print(windowText(main));
    } else if (step == L"status" && a.size() >= 2) {
      print(statusText(main, static_cast<int>(number(1, 0))));
    } else if (step == L"command" && a.size() >= 2) {
      PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(number(1, 0)), 0);
    } else if (step == L"key" && a.size() >= 2 && keyCode(a[1]) != 0) {
      const WORD key = keyCode(a[1]);
      const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
      PostMessageW(main, WM_KEYDOWN, key, scan | 1);
      PostMessageW(main, WM_KEYUP, key, scan | 1 | (3LL << 30));
    } else if (step == L"painted") {
      return waitFor([main] { return showsPanel(main); }, number(1, 120)) ? 0
                                                                         : fail(L"no panel");
    } else if (step == L"end-session") {
      // The program may end inside WM_ENDSESSION, as Windows lets it.
      if (SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) == FALSE) {
        return fail(L"the program refused to end the session");
      }
      SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 60000,
                          nullptr);
    } else {
      print(kUsage);
      return 2;
    }
    return 0;
  }
  if (a.size() < 2) {
    print(kUsage);
    return 2;
  }
  HWND window = find(a[1]);
  if (window == nullptr) return fail(L"no " + a[1]);
  if (step == L"close") {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (step == L"rect") {
    RECT r{};
    GetWindowRect(window, &r);
    print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
          std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
    return 0;
  }
  if (a.size() < 3) {
    print(kUsage);
    return 2;
  }
  const int id = static_cast<int>(number(2, 0));
  if (step == L"text" && id == 0) {
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsWindowVisible(child)) print(windowText(child));
    }
    return 0;
  }
  HWND control = GetDlgItem(window, id);
  if (control == nullptr) return fail(L"no control " + a[2] + L" in " + a[1]);
  if (step == L"text") {
    print(windowText(control));
  } else if (step == L"enabled") {
    print(IsWindowEnabled(control) ? L"1" : L"0");
  } else if (step == L"set" && a.size() >= 4) {
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[3].c_str()),
                        SMTO_BLOCK, 60000, nullptr);
  } else if (step == L"click") {
    if (!IsWindowEnabled(control)) return fail(L"control " + a[2] + L" is disabled");
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
  } else if (step == L"checked") {
    print(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0");
  } else if (step == L"rows") {
    print(std::to_wstring(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0)));
  } else if (step == L"row" && a.size() >= 4) {
    print(listRow(control, static_cast<int>(number(3, 0))));
  } else if (step == L"select" && a.size() >= 4) {
    if (!clickRow(control, static_cast<int>(number(3, 0)))) return fail(L"no row " + a[3]);
  } else if (step == L"choose" && a.size() >= 4) {
    const auto item = static_cast<WPARAM>(number(3, 0));
    if (SendMessageW(control, CB_SETCURSEL, item, 0) == CB_ERR) return fail(L"no item " + a[3]);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control));
  } else {
    print(kUsage);
    return 2;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> arguments(argv + 1, argv + argc);
  if (arguments.empty()) {
    print(kUsage);
    return 2;
  }
  const int code = run(arguments);
  std::fflush(stdout);
  return code;
}
