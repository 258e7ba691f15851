// Measures from outside, as a desktop does, whether the valvescope window
// answers while its controller is silent: a window manager sends _NET_WM_PING
// to a window and takes it for "Not Responding" when the answer is late. Here,
// under Xvfb, the bench is that window manager (it maps what the program
// shows and takes the answers at the root window); the ping goes to the main
// window every 50 ms and the round trip of every answer is recorded, in two
// runs on qx4-sim at 9600 baud: with no controller answering from start-up,
// and with the cable pulled (SIGUSR1) while polling. Needs Xvfb; skips, saying
// so, without it. A valvescope binary other than the one built here may be
// given as the first argument.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kPingEvery = 50ms;
constexpr auto kWatchFor = 25s;

double secondsOf(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::optional<std::string> onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= folders.size();) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const fs::path candidate = fs::path(folders.substr(start, end - start)) / program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    start = end + 1;
  }
  return std::nullopt;
}

// A child process with its standard output on a pipe, or sent nowhere.
struct Child {
  pid_t pid = -1;
  int output = -1;

  void stop(int signal) {
    if (pid <= 0) return;
    kill(pid, signal);
    waitpid(pid, nullptr, 0);
    pid = -1;
    if (output >= 0) close(output);
    output = -1;
  }
};

Child spawn(const std::vector<std::string>& arguments, bool readOutput,
            const std::map<std::string, std::string>& environment = {}) {
  std::fflush(stdout);
  int pipeEnds[2] = {-1, -1};
  if (readOutput && pipe(pipeEnds) != 0) return {};
  Child child;
  child.pid = fork();
  if (child.pid == 0) {
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    if (readOutput) dup2(pipeEnds[1], STDOUT_FILENO);
    if (!readOutput) std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    std::_Exit(127);
  }
  if (readOutput) {
    close(pipeEnds[1]);
    child.output = pipeEnds[0];
  }
  return child;
}

std::string readLine(int fd) {
  std::string line;
  char c = 0;
  while (read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

// Xvfb on a display of its own choosing.
struct Server {
  Child process;
  std::string display;

  bool start(const std::string& xvfb) {
    std::fflush(stdout);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return false;
    const std::string fd = std::to_string(pipeEnds[1]);
    process.pid = fork();
    if (process.pid == 0) {
      close(pipeEnds[0]);
      std::freopen("/dev/null", "w", stderr);
      execl(xvfb.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1000x24",
            "-nolisten", "tcp", static_cast<char*>(nullptr));
      std::_Exit(127);
    }
    close(pipeEnds[1]);
    const std::string number = readLine(pipeEnds[0]);
    close(pipeEnds[0]);
    display = ":" + number;
    return !number.empty();
  }
};

xcb_atom_t atom(xcb_connection_t* x, const char* name) {
  const auto cookie = xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(x, cookie, nullptr);
  const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return result;
}

std::string windowName(xcb_connection_t* x, xcb_window_t window, xcb_atom_t name, xcb_atom_t utf8) {
  const auto cookie = xcb_get_property(x, 0, window, name, utf8, 0, 256);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(x, cookie, nullptr);
  std::string text;
  if (reply != nullptr) {
    text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                static_cast<std::size_t>(xcb_get_property_value_length(reply)));
  }
  std::free(reply);
  return text;
}

// The top-level window whose title starts with `prefix` and holds `part`.
xcb_window_t findWindow(xcb_connection_t* x, xcb_window_t root, const std::string& prefix,
                        const std::string& part) {
  const xcb_atom_t name = atom(x, "_NET_WM_NAME");
  const xcb_atom_t utf8 = atom(x, "UTF8_STRING");
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(x, xcb_query_tree(x, root), nullptr);
  if (tree == nullptr) return XCB_WINDOW_NONE;
  xcb_window_t found = XCB_WINDOW_NONE;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  for (int i = 0; i < xcb_query_tree_children_length(tree) && found == XCB_WINDOW_NONE; ++i) {
    const std::string title = windowName(x, children[i], name, utf8);
    if (title.rfind(prefix, 0) == 0 && title.find(part) != std::string::npos) found = children[i];
  }
  std::free(tree);
  return found;
}

struct Figures {
  int sent = 0;
  int answered = 0;
  std::vector<double> roundTrips;  // seconds
  double longest = 0;              // an unanswered ping counts for its age
  int late = 0;                    // over 0.1 s
};

// What a window manager must do for the program's windows to appear: map
// them and give them the place and size they ask for.
void manage(xcb_connection_t* x, const xcb_generic_event_t* event) {
  switch (event->response_type & 0x7F) {
    case XCB_MAP_REQUEST:
      xcb_map_window(x, reinterpret_cast<const xcb_map_request_event_t*>(event)->window);
      break;
    case XCB_CONFIGURE_REQUEST: {
      const auto* request = reinterpret_cast<const xcb_configure_request_event_t*>(event);
      const std::uint32_t values[] = {static_cast<std::uint32_t>(request->x),
                                      static_cast<std::uint32_t>(request->y), request->width,
                                      request->height};
      xcb_configure_window(x, request->window,
                           XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                               XCB_CONFIG_WINDOW_HEIGHT,
                           values);
      break;
    }
    default: break;
  }
  xcb_flush(x);
}

// Handles what the window manager must until `done` holds or `limit` passes.
template <typename Done>
bool serve(xcb_connection_t* x, Done done, Clock::duration limit) {
  const auto began = Clock::now();
  while (!done()) {
    if (Clock::now() - began > limit) return false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
      manage(x, event);
      std::free(event);
    }
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

// Pings the window every 50 ms for `span` and collects the answers, which
// come back to the root window.
Figures watch(xcb_connection_t* x, xcb_window_t window, Clock::duration span) {
  const xcb_atom_t protocols = atom(x, "WM_PROTOCOLS");
  const xcb_atom_t ping = atom(x, "_NET_WM_PING");
  std::map<std::uint32_t, Clock::time_point> out;
  Figures figures;
  const auto began = Clock::now();
  auto next = began;
  std::uint32_t sequence = 1;
  while (Clock::now() - began < span) {
    if (Clock::now() >= next) {
      xcb_client_message_event_t message{};
      message.response_type = XCB_CLIENT_MESSAGE;
      message.format = 32;
      message.window = window;
      message.type = protocols;
      message.data.data32[0] = ping;
      message.data.data32[1] = sequence;
      message.data.data32[2] = window;
      xcb_send_event(x, 0, window, XCB_EVENT_MASK_NO_EVENT,
                     reinterpret_cast<const char*>(&message));
      xcb_flush(x);
      out[sequence++] = Clock::now();
      ++figures.sent;
      next += kPingEvery;
    }
    while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
      manage(x, event);
      if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
        const auto* answer = reinterpret_cast<xcb_client_message_event_t*>(event);
        const auto it = out.find(answer->data.data32[1]);
        if (answer->data.data32[0] == ping && it != out.end()) {
          const double trip = secondsOf(Clock::now() - it->second);
          figures.roundTrips.push_back(trip);
          figures.longest = std::max(figures.longest, trip);
          figures.late += trip > 0.1;
          ++figures.answered;
          out.erase(it);
        }
      }
      std::free(event);
    }
    std::this_thread::sleep_for(1ms);
  }
  for (const auto& [number, sent] : out) {
    figures.longest = std::max(figures.longest, secondsOf(Clock::now() - sent));
    ++figures.late;
  }
  return figures;
}

void print(const char* what, Figures figures) {
  std::sort(figures.roundTrips.begin(), figures.roundTrips.end());
  const double median =
      figures.roundTrips.empty() ? 0 : figures.roundTrips[figures.roundTrips.size() / 2];
  std::printf("  %-34s %d pings, %d answered; median %.1f ms, longest %.3f s, %d over 0.1 s\n",
              what, figures.sent, figures.answered, 1000 * median, figures.longest, figures.late);
}

struct Run {
  fs::path data;
  Child simulator;
  Child program;

  ~Run() {
    program.stop(SIGTERM);
    simulator.stop(SIGINT);
    std::error_code error;
    fs::remove_all(data, error);
  }
};

// Starts qx4-sim and valvescope on its pty; the main window once it is there.
xcb_window_t startProgram(Run& run, const std::string& valvescope, const std::string& display,
                          xcb_connection_t* x, xcb_window_t root, bool silent) {
  std::vector<std::string> sim = {VS_QX4_SIM_BINARY, "--baud", "9600"};
  if (silent) sim.push_back("--silent");
  run.simulator = spawn(sim, true);
  const std::string pty = readLine(run.simulator.output);
  run.data = fs::temp_directory_path() / ("valvescope-ping-" + std::to_string(getpid()));
  fs::create_directories(run.data);
  run.program = spawn({valvescope, "--port", pty, "--data-dir", run.data.string()}, false,
                      {{"DISPLAY", display}, {"QT_QPA_PLATFORM", "xcb"}});
  xcb_window_t window = XCB_WINDOW_NONE;
  serve(
      x,
      [&] {
        window = findWindow(x, root, "QX4 Valvescope", "");
        return window != XCB_WINDOW_NONE;
      },
      30s);
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string valvescope = argc > 1 ? argv[1] : VS_VALVESCOPE_BINARY;
  const auto xvfb = onPath("Xvfb");
  if (!xvfb) {
    std::printf("app_window_ping_bench: skipped, Xvfb is not installed (Debian package xvfb)\n");
    return 0;
  }
  Server server;
  if (!server.start(*xvfb)) {
    std::printf("app_window_ping_bench: skipped, Xvfb did not start\n");
    return 0;
  }
  xcb_connection_t* x = xcb_connect(server.display.c_str(), nullptr);
  if (xcb_connection_has_error(x) != 0) {
    std::printf("app_window_ping_bench: skipped, cannot reach Xvfb on %s\n",
                server.display.c_str());
    server.process.stop(SIGTERM);
    return 0;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  // The answers go to the root window, to its window manager.
  const std::uint32_t mask =
      XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
  xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(x);

  std::printf("_NET_WM_PING to the main window every 50 ms under Xvfb, %s\n", valvescope.c_str());
  {
    Run run;
    const xcb_window_t window = startProgram(run, valvescope, server.display, x, root, true);
    if (window == XCB_WINDOW_NONE) {
      std::printf("  no main window appeared\n");
    } else {
      print("no controller, 25 s from start-up:", watch(x, window, kWatchFor));
    }
  }
  {
    Run run;
    const xcb_window_t window = startProgram(run, valvescope, server.display, x, root, false);
    const bool polling =
        window != XCB_WINDOW_NONE &&
        serve(
            x, [&] { return findWindow(x, root, "QX4 Valvescope", "Firmware") != 0; }, 30s);
    if (!polling) {
      std::printf("  the program did not connect\n");
    } else {
      const auto began = Clock::now();
      serve(
          x, [&] { return Clock::now() - began > 2s; }, 3s);  // polling
      kill(run.simulator.pid, SIGUSR1);                       // the cable is pulled
      print("cable pulled while polling, 25 s:", watch(x, window, kWatchFor));
    }
  }
  xcb_disconnect(x);
  server.process.stop(SIGTERM);
  return 0;
}
