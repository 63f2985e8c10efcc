// Text for the console that started the program, if there is one.
#pragma once

// Writes to the standard output when the starter gave one (a redirection or
// a pipe), else to the console of the parent process. Without either the
// text goes nowhere: a GUI program has no console of its own.
void WriteToStartingConsole(const char* text);
