// Reading the password from a terminal: no echo, a prompt, and the terminal as it was after.
#pragma once

#include <memory>

namespace quarnel::dump {

// When standard input is a terminal: switches its echo off, writes "Password: " to standard
// error, and returns an object whose release switches the echo back on and ends the line the
// unechoed Enter left open. A signal that ends the program while the object lives (Ctrl+C,
// a hang-up, a kill) switches the echo back on before the program ends as it would have.
// Returns nothing when standard input is not a terminal: piped input is read as it is.
std::shared_ptr<void> hideTerminalInput();

}  // namespace quarnel::dump
