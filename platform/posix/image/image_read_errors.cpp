#include "platform/posix/image/image_read_errors.h"

#include <utility>

namespace posixplat {
namespace {

struct Note {
    int error = 0;
    std::string why;
};

thread_local Note t_note;

}  // namespace

void NoteImageReadError(int error, std::string why) { t_note = Note{error, std::move(why)}; }

bool TakeImageReadError(int error, std::string* why) {
    Note note = std::exchange(t_note, Note{});
    if (note.error == 0 || note.error != error) return false;
    *why = std::move(note.why);
    return true;
}

}  // namespace posixplat
