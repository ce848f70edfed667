#pragma once
#include <string>

#include "picture/Frame.h"

// Where the saver's (or, with Preview, the preview's) pictures come from;
// none: the pictures of the current group.
using TPictureSources = TPicturePipeline::TSourceMaker (*)(bool Preview);

// The start-up sequence of the screen saver, from module initialisation to
// the end of the process. Returns the exit code: 0, or 1 after an error that
// escaped the sequence and was shown in the "Application Error" box.
int RunScreenSaver(TPictureSources Sources = nullptr);

// Shows an error that escaped the main sequence: "Application Error", no
// owner, task-modal, error icon.
void ShowApplicationError(const char* KindName, const void* Address, const char* Message);

// The text of that box: "Exception <kind> in module <file> at <address>.",
// a line break, the message with a full stop, a line break.
std::string ApplicationErrorText(const char* KindName, const std::string& Module, const void* Address,
                                 const std::string& Message);
