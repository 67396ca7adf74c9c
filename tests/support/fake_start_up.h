// The start-up's services over the in-memory fakes: a start at the shared start time,
// with its log in the shared directory.
#pragma once

#include "fake_services.h"
#include "log_texts.h"
#include "startup/start_up.h"

namespace kestrevane::testing {

struct FakeStartUp {
    FakeClock clock{startTime};
    FakeLocale locale;
    MemoryFileSystem files;
    IdentityCodec codec;
    startup::StartUpServices services{clock, locale, files, codec, logDirectory};
};

} // namespace kestrevane::testing
