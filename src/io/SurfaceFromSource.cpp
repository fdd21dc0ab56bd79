// The Surface constructor that decodes an image source into a new surface. It lives here, with
// the image I/O layer, so that the surface itself needs none of it.
#include <memory>

#include "image/Surface.h"
#include "io/ImageIoExc.h"
#include "io/ImageSource.h"
#include "io/ImageTargetSurface.h"

namespace loom {

template <typename T>
SurfaceT<T>::SurfaceT(ImageSourceRef source, const SurfaceConstraints& constraints,
                      std::optional<bool> alpha) {
    if (!source) throw ImageIoExc("there is no image to load");
    const bool withAlpha = alpha.has_value() ? *alpha : source->hasAlpha();
    const ChannelOrder order = constraints.channelOrderFor(withAlpha);
    init(source->getWidth(), source->getHeight(), constraints.rowBytesFor(source->getWidth(), order, 1),
         order);
    setPremultiplied(source->isPremultiplied());
    source->load(std::make_shared<ImageTargetSurface<T>>(this));
    if (withAlpha && !source->hasAlpha() && hasAlpha()) getChannelAlpha().fill(255);
}

template SurfaceT<uint8_t>::SurfaceT(ImageSourceRef, const SurfaceConstraints&, std::optional<bool>);

}  // namespace loom
