// DataTargetMemory: bytes written into memory, for a picture handed on without a file (the
// clipboard). Its name, a file name, chooses the format by its extension; nothing is written there.
#pragma once

#include <memory>
#include <string>

#include "io/DataTarget.h"

namespace loom {

class DataTargetMemory : public DataTarget {
public:
    explicit DataTargetMemory(const std::string& name);
    bool isFilePath() const override { return false; }
    bool isUrl() const override { return false; }
    OStreamRef getStream() override;
    // What was written.
    const std::string& bytes() const;

private:
    class Stream;
    std::shared_ptr<Stream> memory_;
};

}  // namespace loom
