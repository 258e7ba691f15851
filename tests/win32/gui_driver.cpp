// Drives valvescope.exe from outside as a user would, one step per run, for
// the tests under Wine (tests/integration/wine_gui_rig.h): it finds the
// program's windows by their captions, reads what they show, types into
// edits, presses buttons, menu items and keys, and asks the window to end the
// session. Prints what it read on standard output; exit code 0 when the step
// was done, 1 when it could not be, 2 for a usage error.

#include <windows.h>

#include <commctrl.h>
#include <winspool.h>

#include <chrono>
#include <cstring>
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
    L"  controls WINDOW            every visible control: its id, class and text\n"
    L"  default WINDOW             the id of the dialog's default button\n"
    L"  enabled WINDOW ID          1 or 0\n"
    L"  set WINDOW ID TEXT         types TEXT into an edit, replacing its text\n"
    L"  click WINDOW ID            clicks an enabled button\n"
    L"  select WINDOW ID ROW       gives a list view's row the focus and selection\n"
    L"  cell WINDOW ID ROW COLUMN  the text of a list view's cell\n"
    L"  progress WINDOW ID         a progress bar's \"POSITION of MAXIMUM\", or hidden\n"
    L"  arrow WINDOW ID up|down    clicks an up-down control's arrow\n"
    L"  press WINDOW ID            clicks the middle of a control with the mouse\n"
    L"  selection WINDOW ID        an edit's selection, \"START END\"\n"
    L"  command ID                 chooses a menu item of the main window\n"
    L"  key F2|F3|F4|F12|Escape    presses a key in the main window\n"
    L"  press WINDOW ID KEY        presses Left, Right, Home or End in a control\n"
    L"  slider WINDOW ID           a slider's position, range and selection\n"
    L"  add-printer NAME FILE      the default printer, PostScript into a Unix FILE\n"
    L"  remove-printer NAME        removes the printer, if there is one\n"
    L"  close WINDOW               clicks the window's close box\n"
    L"  end-session                Windows logs the user out\n"
    L"  painted [SECONDS]          until the main window shows the instrument panel\n"
    L"  rect WINDOW                x y width height on the screen\n"
    L"  checked WINDOW ID          1 or 0: a check box or a push button that stays in\n"
    L"  choose WINDOW ID N         picks item N of a drop-down list\n"
    L"  rows WINDOW ID             the number of rows of a list view\n"
    L"  row WINDOW ID N            a list view's row N, its cells between tabs (N -1:\n"
    L"                             the column titles)\n"
    L"  click-row WINDOW ID N      clicks a list view's row N\n";

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

// Memory in the process of a control, for the messages whose answer the
// control writes through a pointer: it can write only into its own process.
class RemoteMemory {
 public:
  RemoteMemory(HWND control, std::size_t bytes) {
    DWORD process = 0;
    GetWindowThreadProcessId(control, &process);
    target_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (target_ != nullptr) {
      at_ = VirtualAllocEx(target_, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    }
  }
  ~RemoteMemory() {
    if (at_ != nullptr) VirtualFreeEx(target_, at_, 0, MEM_RELEASE);
    if (target_ != nullptr) CloseHandle(target_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool ok() const { return at_ != nullptr; }
  // The address as the control's process sees it, `offset` bytes in.
  LPARAM address(std::size_t offset = 0) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(at_) + offset);
  }
  void write(const void* from, std::size_t bytes, std::size_t offset = 0) {
    WriteProcessMemory(target_, static_cast<char*>(at_) + offset, from, bytes, nullptr);
  }
  void read(void* into, std::size_t bytes, std::size_t offset = 0) const {
    ReadProcessMemory(target_, static_cast<char*>(at_) + offset, into, bytes, nullptr);
  }

 private:
  HANDLE target_ = nullptr;
  void* at_ = nullptr;
};

// Text of up to 511 characters that a control writes into remote memory.
constexpr std::size_t kRemoteChars = 512;

std::wstring remoteText(const RemoteMemory& memory, std::size_t offset = 0) {
  std::wstring text(kRemoteChars, L'\0');
  memory.read(text.data(), kRemoteChars * sizeof(wchar_t), offset);
  text.resize(text.find(L'\0'));
  return text;
}

// A list view's row, its cells between tabs; row -1: the column titles.
std::wstring listRow(HWND list, int row) {
  constexpr std::size_t kRecord = 512;  // room for the item or column record
  RemoteMemory memory(list, kRecord + kRemoteChars * sizeof(wchar_t));
  if (!memory.ok()) return L"?";
  const auto columns = static_cast<int>(SendMessageW(
      reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
  std::wstring cells;
  for (int column = 0; column < columns; ++column) {
    memory.write(L"", sizeof(wchar_t), kRecord);
    if (row < 0) {
      LVCOLUMNW title{};
      title.mask = LVCF_TEXT;
      title.pszText = reinterpret_cast<wchar_t*>(memory.address(kRecord));
      title.cchTextMax = static_cast<int>(kRemoteChars);
      memory.write(&title, sizeof title);
      SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), memory.address());
    } else {
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = reinterpret_cast<wchar_t*>(memory.address(kRecord));
      item.cchTextMax = static_cast<int>(kRemoteChars);
      memory.write(&item, sizeof item);
      SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), memory.address());
    }
    cells += (column > 0 ? L"\t" : L"") + remoteText(memory, kRecord);
  }
  return cells;
}

// Brings a row into view and clicks it, on its first cell.
bool clickRow(HWND list, int row) {
  RemoteMemory memory(list, sizeof(RECT));
  if (!memory.ok()) return false;
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  memory.write(&bounds, sizeof bounds);
  if (SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), memory.address()) == FALSE) {
    return false;
  }
  memory.read(&bounds, sizeof bounds);
  const LPARAM at = MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  return true;
}

// Reads a status bar part.
std::wstring statusText(HWND window, int part) {
  HWND bar = FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
  if (bar == nullptr) return L"?";
  RemoteMemory memory(bar, kRemoteChars * sizeof(wchar_t));
  if (!memory.ok()) return L"?";
  SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), memory.address());
  return remoteText(memory);
}

// A list view's cell: the item goes along with the text it asks for.
std::wstring listCell(HWND list, int row, int column) {
  RemoteMemory memory(list, sizeof(LVITEMW) + kRemoteChars * sizeof(wchar_t));
  if (!memory.ok()) return L"?";
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(memory.address(sizeof item));
  item.cchTextMax = static_cast<int>(kRemoteChars);
  memory.write(&item, sizeof item);
  SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), memory.address(),
                      SMTO_BLOCK, 60000, nullptr);
  return remoteText(memory, sizeof item);
}

// As a click on the row does, without the mouse: the list tells its dialog.
bool selectListRow(HWND list, int row) {
  RemoteMemory memory(list, sizeof(LVITEMW));
  if (!memory.ok()) return false;
  LVITEMW item{};
  item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  item.state = item.stateMask;
  memory.write(&item, sizeof item);
  DWORD_PTR done = FALSE;
  SendMessageTimeoutW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), memory.address(),
                      SMTO_BLOCK, 60000, &done);
  return done != FALSE;
}

// A press and release of the mouse on a control, at a fraction of its
// width and height, as a user's click.
void clickAt(HWND control, double across, double down) {
  RECT area{};
  GetClientRect(control, &area);
  const int x = static_cast<int>(area.right * across);
  const int y = static_cast<int>(area.bottom * down);
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
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
  if (name == L"Left") return VK_LEFT;
  if (name == L"Right") return VK_RIGHT;
  if (name == L"Home") return VK_HOME;
  if (name == L"End") return VK_END;
  return 0;
}

// A key pressed and let go while `target` has the keyboard.
void pressKey(HWND target, WORD key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(target, WM_KEYDOWN, key, scan | 1);
  PostMessageW(target, WM_KEYUP, key, scan | 1 | (3LL << 30));
}

BOOL CALLBACK printControl(HWND control, LPARAM) {
  if (IsWindowVisible(control)) {
    print(std::to_wstring(GetDlgCtrlID(control)) + L" " + className(control) + L" " +
          windowText(control));
  }
  return TRUE;
}

// Wine's PostScript driver describes its printer by a PPD file; a prefix
// without printers has none. US Letter at 600 dpi, a quarter inch it cannot
// reach at each edge.
constexpr const char* kPrinterDescription =
    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"VSTEST.PPD\"\n"
    "*Manufacturer: \"Valvescope tests\"\n*Product: \"(Test printer)\"\n"
    "*ModelName: \"Test printer\"\n*NickName: \"Test printer\"\n*LanguageLevel: \"2\"\n"
    "*ColorDevice: False\n*DefaultColorSpace: Gray\n*TTRasterizer: Type42\n"
    "*DefaultResolution: 600dpi\n*OpenUI *PageSize: PickOne\n*DefaultPageSize: Letter\n"
    "*PageSize Letter/US Letter: \"<</PageSize[612 792]>>setpagedevice\"\n"
    "*CloseUI: *PageSize\n*DefaultImageableArea: Letter\n"
    "*ImageableArea Letter/US Letter: \"18 18 594 774\"\n*DefaultPaperDimension: Letter\n"
    "*PaperDimension Letter/US Letter: \"612 792\"\n";

// The default printer `name`, of Wine's PostScript driver, whose port is a
// Unix file: what a test prints lands in a file it can read.
bool addPrinter(const std::wstring& name, const std::wstring& file) {
  wchar_t folder[MAX_PATH] = {};
  DWORD size = sizeof folder;
  if (GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), size,
                                 &size) == 0) {
    return false;
  }
  // Beside wineps.drv, in the folder of version-3 drivers.
  const std::wstring description = std::wstring(folder) + L"\\3\\vstest.ppd";
  HANDLE out = CreateFileW(description.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(out, kPrinterDescription, static_cast<DWORD>(std::strlen(kPrinterDescription)),
            &written, nullptr);
  CloseHandle(out);

  wchar_t driverName[] = L"Wine PostScript Driver";
  wchar_t driverFile[] = L"wineps.drv";
  wchar_t dataFile[] = L"vstest.ppd";
  wchar_t raw[] = L"RAW";
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = driverName;
  driver.pDriverPath = driverFile;
  driver.pConfigFile = driverFile;
  driver.pDataFile = dataFile;
  driver.pDefaultDataType = raw;
  if (AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                          APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY) == 0) {
    return false;
  }
  std::wstring printerName = name;
  std::wstring port = file;
  wchar_t processor[] = L"WinPrint";
  PRINTER_INFO_2W printer{};
  printer.pPrinterName = printerName.data();
  printer.pPortName = port.data();
  printer.pDriverName = driverName;
  printer.pPrintProcessor = processor;
  printer.pDatatype = raw;
  printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (added == nullptr) return false;
  ClosePrinter(added);
  return SetDefaultPrinterW(name.c_str()) != 0;
}

// True also when there was no such printer.
bool removePrinter(const std::wstring& name) {
  std::wstring printerName = name;
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (OpenPrinterW(printerName.data(), &printer, &access) == 0) return true;
  const bool removed = DeletePrinter(printer) != 0;
  ClosePrinter(printer);
  return removed;
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
  if (step == L"add-printer" && a.size() >= 3) {
    return addPrinter(a[1], a[2]) ? 0
                                  : fail(L"no printer, error " + std::to_wstring(GetLastError()));
  }
  if (step == L"remove-printer" && a.size() >= 2) {
    return removePrinter(a[1])
               ? 0
               : fail(L"the printer stays, error " + std::to_wstring(GetLastError()));
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
      pressKey(main, keyCode(a[1]));
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
  if (step == L"controls") {
    EnumChildWindows(window, printControl, 0);
    return 0;
  }
  if (step == L"default") {
    print(std::to_wstring(LOWORD(SendMessageW(window, DM_GETDEFID, 0, 0))));
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
  } else if (step == L"press" && a.size() >= 4 && keyCode(a[3]) != 0) {
    pressKey(control, keyCode(a[3]));
  } else if (step == L"slider") {
    const auto get = [control](UINT message) {
      return std::to_wstring(SendMessageW(control, message, 0, 0));
    };
    print(get(TBM_GETPOS) + L" " + get(TBM_GETRANGEMIN) + L" " + get(TBM_GETRANGEMAX) + L" " +
          get(TBM_GETSELSTART) + L" " + get(TBM_GETSELEND));
  } else if (step == L"click") {
    if (!IsWindowEnabled(control)) return fail(L"control " + a[2] + L" is disabled");
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
  } else if (step == L"select" && a.size() >= 4) {
    if (!selectListRow(control, static_cast<int>(number(3, 0)))) return fail(L"no row " + a[3]);
  } else if (step == L"cell" && a.size() >= 5) {
    print(listCell(control, static_cast<int>(number(3, 0)), static_cast<int>(number(4, 0))));
  } else if (step == L"progress") {
    if (!IsWindowVisible(control)) {
      print(L"hidden");
    } else {
      const auto position = SendMessageW(control, PBM_GETPOS, 0, 0);
      const auto maximum = SendMessageW(control, PBM_GETRANGE, FALSE, 0);
      print(std::to_wstring(position) + L" of " + std::to_wstring(maximum));
    }
  } else if (step == L"arrow" && a.size() >= 4 && (a[3] == L"up" || a[3] == L"down")) {
    if (!IsWindowEnabled(control)) return fail(L"control " + a[2] + L" is disabled");
    clickAt(control, 0.5, a[3] == L"up" ? 0.25 : 0.75);
  } else if (step == L"press") {
    if (!IsWindowEnabled(control)) return fail(L"control " + a[2] + L" is disabled");
    clickAt(control, 0.5, 0.5);
  } else if (step == L"selection") {
    DWORD_PTR range = 0;
    SendMessageTimeoutW(control, EM_GETSEL, 0, 0, SMTO_BLOCK, 60000, &range);
    print(std::to_wstring(LOWORD(range)) + L" " + std::to_wstring(HIWORD(range)));
  } else if (step == L"checked") {
    print(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0");
  } else if (step == L"rows") {
    print(std::to_wstring(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0)));
  } else if (step == L"row" && a.size() >= 4) {
    print(listRow(control, static_cast<int>(number(3, 0))));
  } else if (step == L"click-row" && a.size() >= 4) {
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
