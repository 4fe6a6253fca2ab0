#include "child_process.h"

#include <windows.h>

#include <vector>

namespace {

constexpr DWORD PipeSize = 1 << 16;  // more than any helper writes
constexpr DWORD WaitMilliseconds = 60000;

std::string ReadAll(HANDLE pipe) {
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  return text;
}

}  // namespace

std::string ProgramBesideThisOne(const char* fileName) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1) + fileName;
}

ChildRun RunChild(const std::string& program, const std::string& commandLine) {
  ChildRun run = {false, 0, {}, {}};
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  if (!CreatePipe(&outRead, &outWrite, &inherit, PipeSize)) return run;
  if (!CreatePipe(&errRead, &errWrite, &inherit, PipeSize)) return run;
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  PROCESS_INFORMATION process = {};
  run.started = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                               DETACHED_PROCESS, nullptr, nullptr, &startup, &process) != 0;
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (run.started) {
    run.output = ReadAll(outRead);
    run.errors = ReadAll(errRead);
    WaitForSingleObject(process.hProcess, WaitMilliseconds);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    run.exitStatus = status;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(outRead);
  CloseHandle(errRead);
  return run;
}
