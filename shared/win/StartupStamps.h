#pragma once
// Where a start's time goes, for the start-up benchmark: with the
// environment variable VT_STARTUP_STAMPS naming a file, the program notes the
// performance counter at each start-up step and writes them all to that file
// once its start is complete (the counter's frequency on the first line, then
// "<counter> <step>" per step). Without the variable a stamp costs a test of
// one flag; the environment is read once.
namespace vt::win {

// step: a name without blanks, kept as given (a literal).
void StartupStamp(const char* step);
// Writes the stamps taken so far; later stamps are dropped.
void WriteStartupStamps();

}  // namespace vt::win
