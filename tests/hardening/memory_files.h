#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Files held in memory, linked in place of the platform's files so that a
// whole run can go in process, fast, and with any single file operation
// made to fail. Handles 0 to 2 are the standard ones: what goes to standard
// output and standard error is kept; reading standard output fails as it
// does on POSIX.

// Forgets every file, every open handle, what the standard handles took and
// any fault.
void ResetMemoryFiles();

void PutMemoryFile(const std::string& name, const uint8_t* bytes, size_t count);
bool MemoryFileExists(const std::string& name);
std::vector<uint8_t> MemoryFileBytes(const std::string& name);  // empty when missing
int MemoryFilesOpen();  // handles opened and not yet closed

std::string MemoryStandardOutput();
std::string MemoryStandardError();

// The open, seek, read, write and close calls made since the reset, counted
// from 1. Writes to standard error (the failure report) are not counted.
int MemoryFileOperations();
// One letter per counted call, in order: o(pen), s(eek), r(ead), w(rite),
// c(lose).
std::string MemoryFileOperationKinds();

// Makes operation `operation` fail with the I/O error number `number`; a
// failing write first stores `bytesBefore` of its bytes, as a write that
// ran out of room part way does. A write given the number 0 stores
// `bytesBefore` bytes and reports no error, as a short write does.
void InjectMemoryFault(int operation, uint16_t number, uint32_t bytesBefore = 0);
