// End-to-end harness: runs the real game on a private X server in a temporary
// working folder, captures its console, drives it with keys, clicks and wheel
// steps, looks at its window and waits for its exit status.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

// A screenshot of a window, 8-bit RGB.
struct Screenshot {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;

  // The pixel at (x, y) from the top-left corner, as {r, g, b}.
  std::vector<int> at(int x, int y) const;
};

// A top-level window's place on the screen (its outer corner, border
// included, as there is no window manager) and its client size.
struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
};

class GameProcess {
 public:
  // Starts the private X server (1280 x 1024 x 24) and makes the working
  // folder, with the generated default game data copied in when it exists.
  GameProcess();
  // Ends the game and the server if they still run and removes the folder;
  // the folder is kept (and named on the console) when the test failed.
  ~GameProcess();
  GameProcess(const GameProcess &) = delete;
  GameProcess &operator=(const GameProcess &) = delete;

  // An environment variable for the programs started next, over the
  // harness's own choices (ALSOFT_DRIVERS=null among them); an empty value
  // removes the variable.
  void setEnvironment(const std::string &name, const std::string &value);
  // Starts the game with these arguments after the program path. The warning
  // box of the fatal report stays off unless isMessageBoxShown.
  void start(const std::vector<std::string> &arguments = {}, bool isMessageBoxShown = false);
  // The same for another program (a helper of the tests).
  void startProgram(const std::string &program, const std::vector<std::string> &arguments,
                    bool isMessageBoxShown);

  // Waits until standard output (or the error stream) contains the text.
  // False on timeout or when the game ended without printing it.
  bool waitForOutput(const std::string &text, int timeoutMs = 30000);
  bool waitForError(const std::string &text, int timeoutMs = 30000);
  std::string standardOutput() const;
  std::string standardError() const;
  std::vector<std::string> outputLines() const;

  // The top-level window with this title (the game's is ""), 0 on timeout.
  unsigned long waitForWindow(const std::string &title = "", int timeoutMs = 30000);
  // Puts the pointer on the window and gives it the keyboard.
  void focus(unsigned long window);
  // Key names as the X keysyms spell them: "Escape", "q", "Return", "F1".
  void key(unsigned long window, const std::string &keyName);
  // Click with button 1 (left), 2 (middle) or 3 (right) at window pixels.
  void click(unsigned long window, int x, int y, int button = 1);
  // Wheel steps at window pixels: positive up, negative down.
  void wheel(unsigned long window, int x, int y, int steps);
  void resize(unsigned long window, int width, int height);
  WindowGeometry geometry(unsigned long window) const;
  // Polls until the window has this client size or the time is up; returns
  // the last geometry.
  WindowGeometry waitForSize(unsigned long window, int width, int height, int timeoutMs = 30000);
  Screenshot screenshot(unsigned long window);

  // Waits for the game to end and returns its exit status; on timeout the game
  // is killed, the test fails and -1 is returned. A signal gives 128 + number.
  int waitForExit(int timeoutMs = 30000);
  bool isRunning();

  const std::string &workingFolder() const { return workFolder; }
  const std::string &displayName() const { return display; }

  // Runs a command on the private display; returns its standard output.
  std::string runTool(const std::vector<std::string> &command) const;

 private:
  bool waitForText(const std::string &file, const std::string &text, int timeoutMs);

  std::string rootFolder, workFolder, stdoutFile, stderrFile;
  std::string display;
  std::map<std::string, std::string> environmentChanges;
  pid_t serverPid = -1;
  pid_t gamePid = -1;
  int exitStatus = -1;
  int screenshotCount = 0;
};

// Waits ms milliseconds.
void pause(int ms);
// The whole file, "" when it cannot be read.
std::string readWhole(const std::string &path);
