#pragma once

// The kinds of message the program shows, its buttons and the answers. Work
// without a window (storage, the command-line tool) names the kind of a
// message it returns; only the services show it.
namespace ui {

enum class Kind { Plain, Information, Warning, Confirmation };
enum class Buttons { Ok, YesNo, OkCancel, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

} // namespace ui
