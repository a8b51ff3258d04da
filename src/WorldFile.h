// Little-endian reading and writing of the world file's fields. Every read is
// checked: a short read, a count that cannot fit in what is left of the file,
// or a float that is not a finite number ends the program through the fatal
// report naming the field.
// Writes are not checked one by one: the saver tests the stream's error flag
// before it replaces the old file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "BasicVector.h"

void writeInt32(FILE *fd, int32_t value);
void writeFloat(FILE *fd, float value);
void writeInt3(FILE *fd, const Int3 &value);
void writeFloat3(FILE *fd, const Float3 &value);
void writeByte(FILE *fd, unsigned char value);
void writeBytes(FILE *fd, const void *data, size_t size);

// Each reader names the field it reads in its failure message.
int32_t readInt32(FILE *fd, const char *what);
// Floats must be finite.
float readFloat(FILE *fd, const char *what);
Int3 readInt3(FILE *fd, const char *what);
Float3 readFloat3(FILE *fd, const char *what);
unsigned char readByte(FILE *fd, const char *what);
void readBytes(FILE *fd, void *data, size_t size, const char *what);

// Loading learns the file's size once here, so that counts are checked
// against a read position tracked here, without asking the stream; every
// read in between goes through the readers below. Stop forgets the file.
// Other streams have their size and position looked up at each check.
void startReadingWorldFile(FILE *fd);
void stopReadingWorldFile();

// Bytes between the read position and the end of the file.
int64_t bytesLeftInFile(FILE *fd);

// Accepts a count of items of at least itemSize bytes each only while that
// many items fit in what is left of the file; a negative count is refused.
void checkCountFits(FILE *fd, int64_t count, int64_t itemSize, const char *what);
