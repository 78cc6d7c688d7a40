// The simulated controller's side of the line: bytes as they arrive, whole and cut in two, to a
// fresh controller of each family; its queued replies go out on the next turn of the event
// loop.
#include "Controller.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const int family : {0, 1}) {
        sim::Options options;
        options.family = family;
        sim::Controller controller(options);
        if (family == 0) {
            controller.receive(bytes);
        } else {
            const qsizetype cut = bytes.size() / 2;
            controller.receive(bytes.left(cut));
            controller.receive(bytes.mid(cut));
        }
        QCoreApplication::processEvents();
    }
    return 0;
}
