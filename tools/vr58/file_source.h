// An audio file's frames as the render loop reads them, for every command that plays a file through the
// plug-in.
#pragma once

#include "audio_file.h"
#include "render_loop.h"

namespace vr58::tool {

class FileSource : public FrameSource {
public:
    explicit FileSource(AudioReader& reader) : reader_(reader) {}
    int channels() const override { return reader_.info().channels; }
    size_t read(double* interleaved, size_t frames) override { return reader_.read(interleaved, frames); }

private:
    AudioReader& reader_;
};

} // namespace vr58::tool
