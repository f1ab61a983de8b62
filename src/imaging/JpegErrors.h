#pragma once
// libjpeg reports errors by calling a function that must not return: the reader and the writer
// jump back to the step that failed instead, and say so with false.

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace tessel {

struct JpegErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

inline void jumpOnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorJump*>(info->err)->jump, 1);
}

// The error manager of one reader or writer: errors jump back to the step's setjmp, messages go
// to `message` (which may count them) instead of the terminal.
inline jpeg_error_mgr* installJpegErrors(JpegErrorJump& error, void (*message)(j_common_ptr, int)) {
    jpeg_error_mgr* manager = jpeg_std_error(&error.manager);
    manager->error_exit = jumpOnJpegError;
    manager->emit_message = message;
    return manager;
}

}  // namespace tessel
