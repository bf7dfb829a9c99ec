// SPDX-License-Identifier: MIT
// Every test program starts with handlers that fail the running test when the library
// shows a message box or runs a modal dialog that no test asked for, instead of
// waiting for a user who never comes. A SeamRecorder replaces them for its lifetime and
// puts them back after. A real modal window that stays open (one shown past the seams)
// is closed after a short while and fails the test too.
#pragma once

namespace TestSupport {

// Installs the failing message-box and modal-dialog handlers (again).
void installUnexpectedDialogHandlers();

// The modal windows closed by the watchdog since the program started.
int unexpectedModalsClosed();

} // namespace TestSupport
