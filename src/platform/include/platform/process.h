#pragma once
// What a program needs to know about its own process.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace luma {

// The executable's file name without its extension ("luma" for /usr/bin/luma or C:\x\luma.exe);
// it names the program's settings profile.
std::string ExecutableBaseName();

// This process's id, as the system's tools show it.
long long CurrentProcessId();

// The command-line arguments in UTF-8, program name first. On Windows `argv` arrives in the
// ANSI code page, which cannot hold every character, so the arguments are taken from the
// UTF-16 command line instead; elsewhere `argv` is used as it stands.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes standard output and error carry UTF-8 with "\n" line ends, as on Linux, so that a
// program's output is the same bytes on every platform. On Windows this switches both streams
// to binary mode (no "\r\n") and the console to UTF-8; elsewhere it does nothing.
void UseUtf8StandardStreams();

// Runs the program file at `path` (UTF-8) itself: no shell, no search of PATH, no arguments,
// standard input from the null device. Waits for its end, calling `whileWaiting` about every
// 20 ms meanwhile (windows stay responsive). On Windows a program that asks for administrator
// rights, as an installer does, gets the system's elevation prompt. The exit code; nothing
// when it could not be started or did not end normally.
std::optional<int> RunProgram(const std::string& path, const std::function<void()>& whileWaiting);

}  // namespace luma
