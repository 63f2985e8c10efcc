// Text for the console that started the program, if there is one.
#pragma once

// Writes to the standard output the starter gave (a redirection or a pipe), else to the
// parent's console; without either the text is lost, as a GUI program has no console.
void WriteToStartingConsole(const char* text);
