// valvescope.exe as a technician tries it out: on the simulated controller
// inside it, the window connects, shows the panel and closes with exit code 0
// once the close is confirmed; and the program file carries its icon,
// version and manifest.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "valvescope_version.h"
#include "widgets/palette.h"
#include "win32/dib_frame.h"
#include "win32/main_window.h"
#include "win32/resource_ids.h"

namespace vs {
namespace {

using namespace std::chrono_literals;

// The program beside the test's own build tree (VS_VALVESCOPE_EXE is relative
// to this test program's folder).
std::wstring programPath() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  path.erase(path.find_last_of(L"\\/") + 1);
  const std::string relative = VS_VALVESCOPE_EXE;
  return path + std::wstring(relative.begin(), relative.end());
}

struct WindowSearch {
  DWORD processId;
  HWND found = nullptr;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t type[64] = {};
  GetClassNameW(window, type, 64);
  if (owner == search.processId && std::wstring(type) == MainWindow::kClassName &&
      IsWindowVisible(window)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// The program, ended at the latest when the test ends.
class Program {
 public:
  Program() {
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    std::wstring commandLine = L"\"" + programPath() + L"\" --simulate --data-dir \"" +
                               temporary + L"valvescope-window-test\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process_) != 0;
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  bool started() const { return started_; }
  HWND waitForWindow() const {
    WindowSearch search{process_.dwProcessId};
    for (auto end = std::chrono::steady_clock::now() + 120s;
         search.found == nullptr && std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(100ms)) {
      EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
  }
  // The exit code, or STILL_ACTIVE when it has not ended within two minutes.
  DWORD waitForExit() const {
    WaitForSingleObject(process_.hProcess, 120'000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

TEST(ValvescopeWindowTest, ConnectsShowsThePanelAndClosesOnceConfirmed) {
  Program program;
  ASSERT_TRUE(program.started()) << "cannot start valvescope.exe, error " << GetLastError();
  const HWND window = program.waitForWindow();
  ASSERT_NE(window, nullptr) << "no main window within two minutes";

  // Connected: the title names the controller's firmware.
  std::wstring title;
  for (auto end = std::chrono::steady_clock::now() + 120s;
       title.find(L"Firmware") == std::wstring::npos && std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(100ms)) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    title = text;
  }
  EXPECT_EQ(title, L"QX4 Valvescope v.1.02  ___  Firmware v. 4.62");

  RECT client;
  GetClientRect(window, &client);
  EXPECT_GE(client.right, 1024);
  EXPECT_GE(client.bottom, 680);
  DibFrame frame;
  ASSERT_TRUE(frame.resize(client.right, client.bottom));
  // What the window shows, as often as it takes to have painted: PrintWindow
  // would be the tidier way, but Wine cannot draw on a DC of another process.
  int sampled = 0;
  int panel = 0;
  int faces = 0;
  for (auto end = std::chrono::steady_clock::now() + 120s;
       panel <= sampled / 4 && std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(100ms)) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC screen = GetDC(window);
    BitBlt(frame.dc(), 0, 0, frame.width(), frame.height(), screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    sampled = panel = faces = 0;
    for (int y = 0; y < frame.height(); y += 2) {
      for (int x = 0; x < frame.width(); x += 2) {
        const Rgb colour = frame.pixel(x, y);
        ++sampled;
        panel += colour == Rgb{70, 140, 140};
        faces += colour == kLightFace;
      }
    }
  }
  EXPECT_GT(panel, sampled / 4) << "the panel's teal";
  EXPECT_GT(faces, sampled / 10) << "the dial faces and the chart's plot";

  PostMessageW(window, WM_CLOSE, 0, 0);
  HWND confirm = nullptr;
  for (auto end = std::chrono::steady_clock::now() + 120s;
       confirm == nullptr && std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(100ms)) {
    confirm = FindWindowW(L"#32770", L"Confirm Window Close");
  }
  ASSERT_NE(confirm, nullptr) << "no question before closing";
  PostMessageW(confirm, WM_COMMAND, IDYES, 0);
  EXPECT_EQ(program.waitForExit(), 0u);
}

TEST(ValvescopeWindowTest, CarriesItsIconVersionAndManifest) {
  const std::wstring path = programPath();
  HMODULE image = LoadLibraryExW(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(image, nullptr);
  const auto resource = [image](LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(image, name, type);
    if (found == nullptr) return std::string();
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
    return std::string(bytes, SizeofResource(image, found));
  };

  const std::string manifest = resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
  for (const char* setting : {"Microsoft.Windows.Common-Controls", "PerMonitorV2",
                              "<activeCodePage", "UTF-8", "asInvoker"}) {
    EXPECT_NE(manifest.find(setting), std::string::npos) << setting;
  }
  // The icon group: six sizes, 16 to 256 pixels.
  const std::string icons = resource(MAKEINTRESOURCEW(IDI_VALVESCOPE), RT_GROUP_ICON);
  ASSERT_GE(icons.size(), 6u);
  EXPECT_EQ(icons[4], 6);
  FreeLibrary(image);

  DWORD ignored = 0;
  std::string version(GetFileVersionInfoSizeW(path.c_str(), &ignored), '\0');
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(
      GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(VALVESCOPE_VERSION_MINOR, VALVESCOPE_VERSION_MAJOR));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, VALVESCOPE_VERSION_PATCH));
  wchar_t* text = nullptr;
  ASSERT_TRUE(VerQueryValueW(version.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                             reinterpret_cast<void**>(&text), &size));
  const std::string expected = VALVESCOPE_VERSION;
  EXPECT_EQ(std::wstring(text), std::wstring(expected.begin(), expected.end()));
}

}  // namespace
}  // namespace vs
