#include "base/MessageSink.h"

MessageSink& SilentMessages() {
    static SilentMessageSink sink;
    return sink;
}
