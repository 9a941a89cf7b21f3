// The settings reader on arbitrary bytes: never crashes, and the record it reads,
// written and read again, is the same record (a save never changes what the user had),
// and writing that record again gives the same text. The usage counter of old files
// (UsedCount, CountingSince) is the one thing a save leaves out (start-up moves it
// into usage.dat before anything is saved), so it is not compared: the reader may also
// find those keys inside a kept unknown entry of the written file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/model/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tw::Settings first = tw::parse_settings(text, {1920, 1080});
    const std::string written = tw::serialize_settings(first);
    tw::Settings second = tw::parse_settings(written, {1920, 1080});
    for (tw::Settings* s : {&first, &second}) {
        s->used_count.reset();
        s->counting_since.reset();
    }
    if (!(second == first)) std::abort();
    if (tw::serialize_settings(second) != written) std::abort();
    return 0;
}
