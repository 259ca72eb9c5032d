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

// Stores code as the last error and hands it back, so operations can end
// with `return set_last_error(code);`.
ErrorCode set_last_error(ErrorCode code);
ErrorCode get_last_error();
