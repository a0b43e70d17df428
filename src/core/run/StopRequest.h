#pragma once

// A request from outside the program (a signal, the console's Ctrl+C) that every run stops at
// its next folder and keeps its record. Process-wide, since signals are; safe to set from a
// signal handler.
namespace StopRequest
{

// The signals that ask, by their POSIX numbers (the console's events on Windows are told as
// the first two).
constexpr int Hangup = 1;
constexpr int Interrupt = 2;
constexpr int BrokenPipe = 13;
constexpr int Terminate = 15;

// The signal number that asked, or 0 while none has.
int signal();
inline bool requested()
{
    return signal() != 0;
}
void request(int signal);
// For tests, and for a program that goes on after a stopped run.
void clear();

} // namespace StopRequest
