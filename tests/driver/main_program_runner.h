#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Runs the whole main program in this process on a fresh in-memory console
// of the given size, with the process end caught; returns the exit status.
int32_t RunMainProgramWith(const std::string& program, const std::vector<std::string>& arguments,
                           int32_t columns, int32_t rows);
