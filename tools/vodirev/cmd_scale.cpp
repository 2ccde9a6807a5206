// vodirev scale IN W H OUT: decode a picture, resample it with the editor's own
// resampler and save it in the format that OUT's extension names.

#include <QImage>
#include <cstdio>

#include "commands.h"
#include "imaging/image_io.h"
#include "imaging/scale_bitmap.h"

namespace {

int Fail(const char* message) {
    std::fprintf(stderr, "vodirev scale: %s\n", message);
    return 1;
}

// A side as the resampler takes it: 1 to 65535.
bool ParseSide(const QString& text, int& side) {
    bool ok = false;
    side = text.toInt(&ok);
    return ok && side >= 1 && side <= 0xFFFF;
}

}  // namespace

int RunScaleCommand(const QStringList& args) {
    if (args.size() != 4) {
        std::fputs("usage: vodirev scale IN W H OUT\n", stderr);
        return 2;
    }
    int width = 0;
    int height = 0;
    if (!ParseSide(args[1], width) || !ParseSide(args[2], height)) {
        return Fail("W and H must be whole numbers from 1 to 65535");
    }
    const QImage source = vodirev::LoadImageBitmap(args[0]);
    if (source.isNull()) {
        return Fail("cannot decode the input picture");
    }
    const QImage scaled = vodirev::ScaleBitmap(source, width, height);
    if (scaled.isNull()) {
        return Fail("cannot scale to that size (one side would grow while the other shrinks)");
    }
    if (!vodirev::SaveBitmapToFile(args[3], scaled)) {
        return Fail("cannot save the output (use .gif, .png, .bmp, .jpg or .jpeg)");
    }
    return 0;
}
