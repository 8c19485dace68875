#pragma once
// The start-up load: after the settings read, decides which playlist file the run starts on and
// sets the list mode, the files and the playlist caption from it.

namespace tunelark {

class Form1;

// Starts untitled on the working list file: caption "PlayList File : Untitled.ram", `lastfile`
// and `workfile` the working list file, list mode 2.
void startUntitled(Form1& form);

// Runs once from Form_Load, after `lastfile` has been read from the settings file.
void startupLoad(Form1& form);

}  // namespace tunelark
