#include "runtime/error.h"

#include "runtime/context_slots.h"

namespace {

struct ErrorRecord {
    ErrorCode last_error;
};

ErrorRecord* error_record() {
    return static_cast<ErrorRecord*>(get_context_slot(SLOT_ERROR, sizeof(ErrorRecord)));
}

}  // namespace

ErrorCode set_last_error(ErrorCode code) {
    error_record()->last_error = code;
    return code;
}

ErrorCode get_last_error() { return error_record()->last_error; }
