#pragma once
#include <cstdint>

// Result of every runtime operation that can fail; also kept as the last
// error of the process.
enum ErrorCode : int32_t {
    ERR_NONE = 0,
    ERR_INVALID_CALL = 1,  // bad argument or state, missing driver operation
    ERR_OPEN_FAILED = 2,   // the C library could not open the file
    ERR_IO = 3,            // short write, failed seek or lock, put-back overflow
};

#include "runtime/context_slots.h"

// The record of context slot 0.
struct ErrorRecord {
    ErrorCode last_error;
};

// Stores code as the last error and hands it back, so operations can end
// with `return set_last_error(code);`.
inline ErrorCode set_last_error(ErrorCode code) {
    static_cast<ErrorRecord*>(get_context_slot(SLOT_ERROR, sizeof(ErrorRecord)))->last_error = code;
    return code;
}

inline ErrorCode get_last_error() {
    return static_cast<ErrorRecord*>(get_context_slot(SLOT_ERROR, sizeof(ErrorRecord)))->last_error;
}
