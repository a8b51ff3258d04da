// The one tokenizer of the OBJ and MTL readers: whole lines of any length,
// the line end ("\n" or "\r\n", or none on the last line) removed, split into
// the first blank-separated word and the rest of the line. Both passes of a
// reader use it, so they see the same words and count the same things.
#pragma once

#include <cstdio>
#include <string>

struct ObjLine {
  std::string word;  // the first word; empty on a blank line
  std::string rest;  // everything after the word, its leading blank included
};

class ObjLineReader {
 public:
  explicit ObjLineReader(FILE *file) : file(file) {}
  ~ObjLineReader();
  ObjLineReader(const ObjLineReader &) = delete;
  ObjLineReader &operator=(const ObjLineReader &) = delete;

  // The next line; false at the end of the file.
  bool next(ObjLine &line);
  // Back to the first line.
  void rewind();
  // The number of the line last returned, from 1.
  int getLineNumber() const { return lineNumber; }

 private:
  FILE *file;
  char *buffer = nullptr;
  size_t capacity = 0;
  int lineNumber = 0;
};

// Blank as the readers' word scan sees it: space, tab, and the other
// whitespace bytes.
bool isObjBlank(char c);
// The first word of text (leading blanks skipped); empty when there is none.
std::string firstWord(const std::string &text);
