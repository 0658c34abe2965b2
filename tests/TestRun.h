#pragma once
// The parts of a run that most tests build a window on: the data and the look of a
// throw-away program folder, with the tests' message recorder.

#include "MessageRecorder.h"
#include "TestFolder.h"
#include "settings/RunData.h"
#include "ui/Presentation.h"

struct TestRun {
    TestFolder folder;
    TRunData data{folder.Program()};
    TPresentation look{data.Texts, data.Folder, MessageRecorder::Messages()};
};
