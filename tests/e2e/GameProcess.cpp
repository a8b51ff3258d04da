// The harness runs Xvfb and the game with fork/exec, reads the console from
// files, finds and measures windows with Xlib, sends input with xdotool and
// takes screenshots with ImageMagick's import, decoded with libpng.
// GoogleTest comes before Xlib, whose None and Bool macros clash with it.
#include <gtest/gtest.h>

#include "GameProcess.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

extern char **environ;

namespace {

const int pollMs = 20;

std::string environmentValue(const char *name, const std::string &fallback) {
  const char *value = std::getenv(name);
  return value != nullptr ? value : fallback;
}

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<char *> pointers(std::vector<std::string> &texts) {
  std::vector<char *> list;
  for (std::string &text : texts)
    list.push_back(&text[0]);
  list.push_back(nullptr);
  return list;
}

// The inherited environment with these names replaced or, for an empty value, removed.
std::vector<std::string> environmentWith(const std::map<std::string, std::string> &changes) {
  std::vector<std::string> result;
  for (char **entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    std::string name = text.substr(0, text.find('='));
    if (changes.count(name) == 0)
      result.push_back(text);
  }
  for (const auto &change : changes)
    if (!change.second.empty())
      result.push_back(change.first + "=" + change.second);
  return result;
}

// Status of a finished child as a shell reports it.
int statusOf(int waitStatus) {
  if (WIFEXITED(waitStatus))
    return WEXITSTATUS(waitStatus);
  if (WIFSIGNALED(waitStatus))
    return 128 + WTERMSIG(waitStatus);
  return -1;
}

class XConnection {
 public:
  explicit XConnection(const std::string &name) : display(XOpenDisplay(name.c_str())) {}
  ~XConnection() {
    if (display != nullptr)
      XCloseDisplay(display);
  }
  XConnection(const XConnection &) = delete;
  XConnection &operator=(const XConnection &) = delete;
  Display *display;
};

}  // namespace

std::vector<int> Screenshot::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return {};
  size_t offset = (static_cast<size_t>(y) * width + x) * 3;
  return {rgb[offset], rgb[offset + 1], rgb[offset + 2]};
}

GameProcess::GameProcess() {
  char pattern[] = "/tmp/cubeworld-e2e-XXXXXX";
  char *made = mkdtemp(pattern);
  if (made == nullptr) {
    ADD_FAILURE() << "cannot make a temporary folder";
    return;
  }
  rootFolder = made;
  workFolder = rootFolder + "/work";
  stdoutFile = rootFolder + "/stdout.txt";
  stderrFile = rootFolder + "/stderr.txt";
  std::filesystem::create_directory(workFolder);
  std::string gameData = environmentValue("CUBEWORLD_BUILD_DIR", ".") + "/game";
  if (std::filesystem::is_directory(gameData))
    std::filesystem::copy(gameData, workFolder, std::filesystem::copy_options::recursive);

  // The server writes its display number on the pipe once it accepts clients.
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    ADD_FAILURE() << "cannot make a pipe";
    return;
  }
  std::string serverLog = rootFolder + "/xvfb.txt";
  serverPid = fork();
  if (serverPid == 0) {
    close(pipeEnds[0]);
    int log = open(serverLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(log, 1);
    dup2(log, 2);
    std::vector<std::string> command = {"Xvfb",      "-displayfd", std::to_string(pipeEnds[1]),
                                        "-screen",   "0",          "1280x1024x24",
                                        "-nolisten", "tcp",        "-noreset"};
    std::vector<char *> argv = pointers(command);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  std::string number;
  pollfd waiting = {pipeEnds[0], POLLIN, 0};
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    if (poll(&waiting, 1, 100) <= 0)
      continue;
    char buffer[16];
    ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
    if (n <= 0)
      break;
    number.append(buffer, static_cast<size_t>(n));
  }
  close(pipeEnds[0]);
  if (number.find('\n') == std::string::npos) {
    ADD_FAILURE() << "Xvfb did not start: " << readFile(serverLog);
    return;
  }
  display = ":" + number.substr(0, number.find('\n'));
}

GameProcess::~GameProcess() {
  if (gamePid > 0 && exitStatus < 0) {
    kill(gamePid, SIGKILL);
    waitpid(gamePid, nullptr, 0);
  }
  if (serverPid > 0) {
    kill(serverPid, SIGTERM);
    waitpid(serverPid, nullptr, 0);
  }
  if (rootFolder.empty())
    return;
  if (testing::Test::HasFailure()) {
    std::cout << "e2e folder kept: " << rootFolder << std::endl;
  } else {
    std::error_code ignored;
    std::filesystem::remove_all(rootFolder, ignored);
  }
}

void GameProcess::setEnvironment(const std::string &name, const std::string &value) {
  environmentChanges[name] = value;
}

void GameProcess::start(const std::vector<std::string> &arguments, bool isMessageBoxShown) {
  startProgram(environmentValue("CUBEWORLD_BUILD_DIR", ".") + "/cubeworld", arguments,
               isMessageBoxShown);
}

void GameProcess::startProgram(const std::string &program,
                               const std::vector<std::string> &arguments, bool isMessageBoxShown) {
  std::vector<std::string> command = {program};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::map<std::string, std::string> changes = {
      {"DISPLAY", display},
      {"ALSOFT_DRIVERS", "null"},
      {"VIVERI_NO_MESSAGE_BOX", isMessageBoxShown ? "" : "1"}};
  for (const auto &change : environmentChanges)
    changes[change.first] = change.second;
  std::vector<std::string> environment = environmentWith(changes);
  gamePid = fork();
  if (gamePid == 0) {
    if (chdir(workFolder.c_str()) != 0)
      _exit(126);
    int out = open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char *> argv = pointers(command);
    std::vector<char *> envp = pointers(environment);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  if (gamePid < 0)
    ADD_FAILURE() << "cannot start " << program;
}

bool GameProcess::isRunning() {
  if (gamePid <= 0 || exitStatus >= 0)
    return false;
  int waitStatus;
  if (waitpid(gamePid, &waitStatus, WNOHANG) == gamePid) {
    exitStatus = statusOf(waitStatus);
    return false;
  }
  return true;
}

bool GameProcess::waitForText(const std::string &file, const std::string &text, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    bool wasRunning = isRunning();
    if (readFile(file).find(text) != std::string::npos)
      return true;
    if (!wasRunning)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
  }
  return false;
}

bool GameProcess::waitForOutput(const std::string &text, int timeoutMs) {
  return waitForText(stdoutFile, text, timeoutMs);
}

bool GameProcess::waitForError(const std::string &text, int timeoutMs) {
  return waitForText(stderrFile, text, timeoutMs);
}

std::string GameProcess::standardOutput() const {
  return readFile(stdoutFile);
}

std::string GameProcess::standardError() const {
  return readFile(stderrFile);
}

std::vector<std::string> GameProcess::outputLines() const {
  std::vector<std::string> lines;
  std::istringstream in(standardOutput());
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

unsigned long GameProcess::waitForWindow(const std::string &title, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  XConnection x(display);
  if (x.display == nullptr)
    return 0;
  while (std::chrono::steady_clock::now() < deadline) {
    Window root, parent, *children = nullptr;
    unsigned nbChildren = 0;
    Window found = 0;
    XQueryTree(x.display, DefaultRootWindow(x.display), &root, &parent, &children, &nbChildren);
    for (unsigned i = 0; i < nbChildren && found == 0; ++i) {
      XWindowAttributes attributes;
      if (!XGetWindowAttributes(x.display, children[i], &attributes) ||
          attributes.map_state != IsViewable)
        continue;
      char *name = nullptr;
      XFetchName(x.display, children[i], &name);
      if (title == (name != nullptr ? name : ""))
        found = children[i];
      if (name != nullptr)
        XFree(name);
    }
    if (children != nullptr)
      XFree(children);
    if (found != 0)
      return found;
    std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
  }
  return 0;
}

void GameProcess::focus(unsigned long window) {
  std::string id = std::to_string(window);
  runTool({"xdotool", "mousemove", "--window", id, "10", "10"});
  runTool({"xdotool", "windowfocus", "--sync", id});
}

void GameProcess::key(unsigned long window, const std::string &keyName) {
  focus(window);
  runTool({"xdotool", "key", keyName});
}

void GameProcess::click(unsigned long window, int x, int y, int button) {
  runTool({"xdotool", "mousemove", "--window", std::to_string(window), std::to_string(x),
           std::to_string(y), "click", std::to_string(button)});
}

void GameProcess::wheel(unsigned long window, int x, int y, int steps) {
  std::string button = steps > 0 ? "4" : "5";
  std::string repeat = std::to_string(steps > 0 ? steps : -steps);
  runTool({"xdotool", "mousemove", "--window", std::to_string(window), std::to_string(x),
           std::to_string(y), "click", "--repeat", repeat, "--delay", "30", button});
}

void GameProcess::resize(unsigned long window, int width, int height) {
  runTool({"xdotool", "windowsize", std::to_string(window), std::to_string(width),
           std::to_string(height)});
}

WindowGeometry GameProcess::geometry(unsigned long window) const {
  WindowGeometry result;
  XConnection x(display);
  if (x.display == nullptr)
    return result;
  Window root;
  unsigned width, height, border, depth;
  if (!XGetGeometry(x.display, window, &root, &result.x, &result.y, &width, &height, &border,
                    &depth))
    return result;
  result.width = static_cast<int>(width);
  result.height = static_cast<int>(height);
  return result;
}

WindowGeometry GameProcess::waitForSize(unsigned long window, int width, int height,
                                        int timeoutMs) {
  WindowGeometry g;
  for (int waited = 0;; waited += pollMs) {
    g = geometry(window);
    if ((g.width == width && g.height == height) || waited >= timeoutMs)
      return g;
    std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
  }
}

Screenshot GameProcess::screenshot(unsigned long window) {
  Screenshot shot;
  std::string file = rootFolder + "/shot" + std::to_string(screenshotCount++) + ".png";
  runTool({"import", "-window", std::to_string(window), "png:" + file});
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) {
    ADD_FAILURE() << "no screenshot in " << file;
    return shot;
  }
  image.format = PNG_FORMAT_RGB;
  shot.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, shot.rgb.data(), 0, nullptr)) {
    ADD_FAILURE() << "unreadable screenshot " << file;
    shot.rgb.clear();
    return shot;
  }
  shot.width = static_cast<int>(image.width);
  shot.height = static_cast<int>(image.height);
  return shot;
}

int GameProcess::waitForExit(int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (isRunning()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(gamePid, SIGKILL);
      int waitStatus;
      waitpid(gamePid, &waitStatus, 0);
      exitStatus = statusOf(waitStatus);
      ADD_FAILURE() << "the game did not end within " << timeoutMs << " ms";
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
  }
  return exitStatus;
}

std::string GameProcess::runTool(const std::vector<std::string> &command) const {
  // A tool that hangs (a focus that never comes) is cut off after 20 s.
  std::vector<std::string> full = {"timeout", "20"};
  full.insert(full.end(), command.begin(), command.end());
  std::vector<std::string> environment = environmentWith({{"DISPLAY", display}});
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0)
    return "";
  pid_t pid = fork();
  if (pid == 0) {
    close(pipeEnds[0]);
    dup2(pipeEnds[1], 1);
    std::vector<char *> argv = pointers(full);
    std::vector<char *> envp = pointers(environment);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  std::string output;
  char buffer[4096];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, static_cast<size_t>(n));
  close(pipeEnds[0]);
  int waitStatus = 0;
  waitpid(pid, &waitStatus, 0);
  if (statusOf(waitStatus) != 0)
    ADD_FAILURE() << "command failed (" << statusOf(waitStatus) << "): " << command[0];
  return output;
}

void pause(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string readWhole(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
