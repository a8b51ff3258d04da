// Line splitting shared by the OBJ and MTL readers (see ObjLineReader.h).
#include "ObjLineReader.h"

#include <cstdlib>
#include <sys/types.h>

ObjLineReader::~ObjLineReader() {
  free(buffer);
}

bool isObjBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string firstWord(const std::string &text) {
  size_t begin = 0;
  while (begin < text.size() && isObjBlank(text[begin]))
    ++begin;
  size_t end = begin;
  while (end < text.size() && !isObjBlank(text[end]))
    ++end;
  return text.substr(begin, end - begin);
}

bool ObjLineReader::next(ObjLine &line) {
  ssize_t length = getline(&buffer, &capacity, file);
  if (length < 0)
    return false;
  ++lineNumber;
  size_t end = static_cast<size_t>(length);
  // Strip the line end only when it is there, so a last line without one
  // keeps its last character.
  if (end > 0 && buffer[end - 1] == '\n')
    --end;
  if (end > 0 && buffer[end - 1] == '\r')
    --end;
  size_t begin = 0;
  while (begin < end && isObjBlank(buffer[begin]))
    ++begin;
  size_t wordEnd = begin;
  while (wordEnd < end && !isObjBlank(buffer[wordEnd]))
    ++wordEnd;
  line.word.assign(buffer + begin, wordEnd - begin);
  line.rest.assign(buffer + wordEnd, end - wordEnd);
  return true;
}

void ObjLineReader::rewind() {
  ::rewind(file);
  lineNumber = 0;
}
