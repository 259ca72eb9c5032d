#include "textconsole/text_console.h"

#include "runtime/channels.h"
#include "runtime/console/console.h"
#include "runtime/console/line_edit.h"
#include "runtime/strings.h"

// The same steps as on the graphics screen, without the cursor mark: the
// terminal's own cursor shows where typing goes.
ErrorCode text_console_line_input(StringDesc* prompt, StringDesc* dest, int64_t, int32_t, int32_t add_question_mark,
                                  int32_t add_newline) {
    return line_input_steps(prompt, dest, add_question_mark, add_newline, 0);
}
