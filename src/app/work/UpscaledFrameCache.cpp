#include "app/work/UpscaledFrameCache.h"

namespace loom::app {

Surface UpscaledFrameCache::find(int32_t i, const Key& key) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (i == aheadIndex_ && key == aheadKey_) return ahead_;
    if (!(key == key_) || i < 0 || size_t(i) >= frames_.size()) return Surface();
    return frames_[size_t(i)];
}

void UpscaledFrameCache::keep(int32_t i, const Key& key, const Surface& upscaled) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!(key == key_)) {
        clear();
        key_ = key;
    }
    const int64_t size = int64_t(upscaled.getRowBytes()) * upscaled.getHeight();
    if (i < 0 || bytes_ + size > budgetBytes_) return;
    if (size_t(i) >= frames_.size()) frames_.resize(size_t(i) + 1);
    if (frames_[size_t(i)]) return;
    frames_[size_t(i)] = upscaled;
    bytes_ += size;
}

void UpscaledFrameCache::keepAhead(int32_t i, const Key& key, const Surface& upscaled) {
    const std::lock_guard<std::mutex> lock(mutex_);
    aheadKey_ = key;
    aheadIndex_ = i;
    ahead_ = upscaled;
}

void UpscaledFrameCache::keepOnly(uint64_t file) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (key_.file != file) clear();
    if (aheadKey_.file != file) {
        aheadIndex_ = -1;
        ahead_ = Surface();
    }
}

void UpscaledFrameCache::clear() {
    frames_.clear();
    bytes_ = 0;
    key_ = Key();
}

}  // namespace loom::app
