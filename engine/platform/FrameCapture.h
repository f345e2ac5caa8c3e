#pragma once

#include <cstdint>
#include <string>

namespace mareldon {

// What MARELDON_CAPTURE asks for: which presented picture is saved, and where.
//   FRAME:FILE        the FRAME-th present (the first is 1)
//   step:N:FILE       the picture drawn right after the game's N-th step
//   log:TEXT:FILE     the picture drawn right after the step that logged the
//                     first line containing TEXT
//   log:TEXT+N:FILE   the same, N steps after that step
//   signal:FILE       the picture drawn right after the step in which SIGUSR1
//                     came in, each time (the file is rewritten)
// FILE is everything after the last colon the form needs, so it may hold colons.
struct CaptureRequest {
    enum class When { Frame, Step, Log, Signal };
    When when = When::Frame;
    uint32_t frame = 0;  // Frame: the present's number
    uint32_t steps = 0;  // Step: the step's number; Log: the steps after the line
    std::string text;    // Log: the text the line contains
    std::string path;
};

// False (request untouched) for text of none of the forms, a frame or step of 0,
// or an empty TEXT or FILE.
bool ParseCaptureRequest(const char* text, CaptureRequest& request);

// A capture the game loop asks for (every form but FRAME): the presenter saves
// the next picture it presents. Any thread may arm it.
void ArmCapture();
// True once after each ArmCapture.
bool TakeArmedCapture();

}  // namespace mareldon
