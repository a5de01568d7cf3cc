#include "framework/Graphics/ImageResource.h"

#include "framework/Graphics/Cursor.h"
#include "framework/Graphics/ImageLoader.h"

namespace Arbor::Graphics {

std::shared_ptr<Image32> cachedImage(Secure::ResourceCache& cache, std::u16string_view name) {
    // Only the two known extensions decode; nothing is read for any other name.
    if (imageFileKind(name) == ImageFileKind::Unknown) return nullptr;
    return cache.cached<Image32>(
        Secure::ResourceSlot::Image, name, [](const Secure::ResourceBlob& blob) -> std::shared_ptr<Image32> {
            auto image = std::make_shared<Image32>(blob.path, blob.bytes.data(), blob.bytes.size());
            if (image->isNull()) return nullptr;
            return image;
        });
}

std::shared_ptr<const Platform::NativeCursor> cachedCursor(Secure::ResourceCache& cache,
                                                           std::u16string_view name) {
    return cache.cached<const Platform::NativeCursor>(
        Secure::ResourceSlot::Cursor, name,
        [](const Secure::ResourceBlob& blob) -> std::shared_ptr<const Platform::NativeCursor> {
            if (blob.onDisk) return cursorFromFile(blob.path);
            return cursorFromMemory(blob.bytes.data(), blob.bytes.size());
        });
}

}  // namespace Arbor::Graphics
