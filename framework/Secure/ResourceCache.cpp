#include "framework/Secure/ResourceCache.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "framework/Platform/NativePath.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Text/TextLines.h"

namespace Arbor::Secure {

namespace {

bool isPlainFile(std::u16string_view path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(Platform::toNativePath(path), ec);
}

std::u16string lowerAscii(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return out;
}

constexpr std::u16string_view kPackageExtension = u".qnd";

}  // namespace

ResourceCache::ResourceCache(std::u16string dataFolder, std::u16string password)
    : dataFolder_(std::move(dataFolder)), password_(std::move(password)) {
    while (dataFolder_.size() > 1 && dataFolder_.back() == u'\\') dataFolder_.pop_back();
    const std::u16string own = dataFolder_ + std::u16string(kPackageExtension);
    if (isPlainFile(own)) {
        std::lock_guard lock(packagesMutex_);
        openPackageFile(dataFolder_, own);
    }
}

ResourceCache::~ResourceCache() = default;

std::u16string ResourceCache::dataFolderFor(std::u16string_view programDir, std::u16string_view characterName) {
    std::u16string path(programDir);
    while (!path.empty() && path.back() == u'\\') path.pop_back();
    path += u"\\Data\\";
    path += characterName;
    return path;
}

PackageReader* ResourceCache::openPackageFile(const std::u16string& folder, const std::u16string& packagePath) {
    auto it = packages_.find(folder);
    if (it != packages_.end()) return it->second.get();
    auto reader = PackageReader::open(packagePath, password_);
    PackageReader* raw = reader.get();
    packages_.emplace(folder, std::move(reader));
    return raw;
}

PackageReader* ResourceCache::packageFor(std::u16string_view folder) {
    std::lock_guard lock(packagesMutex_);
    const std::u16string key(folder);
    auto it = packages_.find(key);
    if (it != packages_.end()) return it->second.get();
    const std::u16string packagePath = key + std::u16string(kPackageExtension);
    if (!isPlainFile(packagePath)) return nullptr;
    return openPackageFile(key, packagePath);
}

std::vector<std::uint8_t> ResourceCache::readFile(std::u16string_view fullPath) {
    std::size_t sep = fullPath.rfind(u'\\');
    if (sep == std::u16string_view::npos) return {};
    std::u16string folder(fullPath.substr(0, sep));
    std::u16string entry(fullPath.substr(sep + 1));
    while (true) {
        if (PackageReader* reader = packageFor(folder)) {
            auto bytes = reader->readEntry(entry);
            if (!bytes.empty()) return bytes;
        }
        if (folder.size() <= dataFolder_.size()) return {};
        sep = folder.rfind(u'\\');
        if (sep == std::u16string::npos) return {};
        entry = folder.substr(sep + 1) + u'\\' + entry;
        folder.resize(sep);
    }
}

std::vector<std::u16string> ResourceCache::listFiles(std::u16string_view folder) {
    std::u16string base(folder);
    while (base.size() > 1 && base.back() == u'\\') base.pop_back();

    std::vector<std::u16string> plain;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(Platform::toNativePath(base), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        plain.push_back(Platform::fromNativePath(it->path().filename()));
    }
    std::sort(plain.begin(), plain.end());

    std::vector<std::u16string> names;
    std::set<std::u16string> seen;
    auto add = [&](const std::u16string& name) {
        if (seen.insert(name).second) names.push_back(name);
    };
    for (const auto& name : plain) add(name);

    auto addEntries = [&](PackageReader* reader) {
        if (!reader) return;
        for (const auto& entry : reader->entries()) add(entry.name);
    };
    for (const auto& name : plain) {
        if (name.size() < kPackageExtension.size()) continue;
        const std::u16string ext = lowerAscii(std::u16string_view(name).substr(name.size() - kPackageExtension.size()));
        if (ext != kPackageExtension) continue;
        const std::u16string stem = name.substr(0, name.size() - kPackageExtension.size());
        PackageReader* reader = nullptr;
        {
            std::lock_guard lock(packagesMutex_);
            reader = openPackageFile(base + u'\\' + stem, base + u'\\' + name);
        }
        addEntries(reader);
    }
    addEntries(packageFor(base));
    return names;
}

std::optional<ResourceBlob> ResourceCache::load(std::u16string_view name) {
    ResourceBlob blob;
    blob.path = dataFolder_ + u'\\' + std::u16string(name);
    if (isPlainFile(blob.path)) {
        auto bytes = readWholeFile(Platform::toNativePath(blob.path));
        if (!bytes) return std::nullopt;
        blob.onDisk = true;
        blob.bytes = std::move(*bytes);
        return blob;
    }
    blob.bytes = readFile(blob.path);
    if (blob.bytes.empty()) return std::nullopt;
    return blob;
}

std::shared_ptr<const std::vector<std::uint8_t>> ResourceCache::file(std::u16string_view name) {
    return cached<const std::vector<std::uint8_t>>(ResourceSlot::File, name, [](const ResourceBlob& blob) {
        return std::make_shared<const std::vector<std::uint8_t>>(blob.bytes);
    });
}

std::shared_ptr<const std::vector<std::u16string>> ResourceCache::textLines(std::u16string_view name) {
    return cached<const std::vector<std::u16string>>(ResourceSlot::TextLines, name, [](const ResourceBlob& blob) {
        return std::make_shared<const std::vector<std::u16string>>(Text::decodeTextLines(blob.bytes));
    });
}

std::shared_ptr<const FontFile> ResourceCache::loadFont(std::u16string_view name) {
    return cached<const FontFile>(ResourceSlot::Font, name, [name](const ResourceBlob& blob) {
        return std::make_shared<const FontFile>(FontFile{std::u16string(name), blob.bytes});
    });
}

std::shared_ptr<const void> ResourceCache::find(ResourceSlot slot, std::type_index type,
                                                std::u16string_view name) const {
    std::lock_guard lock(slotsMutex_);
    const Slot& s = slots_[static_cast<std::size_t>(slot)];
    if (!s.type || *s.type != type) return nullptr;
    auto it = s.items.find(std::u16string(name));
    return it == s.items.end() ? nullptr : it->second;
}

bool ResourceCache::acceptsType(ResourceSlot slot, std::type_index type) const {
    std::lock_guard lock(slotsMutex_);
    const Slot& s = slots_[static_cast<std::size_t>(slot)];
    return !s.type || *s.type == type;
}

std::shared_ptr<const void> ResourceCache::store(ResourceSlot slot, std::type_index type,
                                                 std::u16string_view name, std::shared_ptr<const void> object) {
    std::lock_guard lock(slotsMutex_);
    Slot& s = slots_[static_cast<std::size_t>(slot)];
    if (s.type && *s.type != type) return nullptr;
    s.type = type;
    auto it = s.items.emplace(std::u16string(name), std::move(object)).first;
    return it->second;
}

bool ResourceCache::isCached(ResourceSlot slot, std::u16string_view name) const {
    std::lock_guard lock(slotsMutex_);
    const Slot& s = slots_[static_cast<std::size_t>(slot)];
    return s.items.count(std::u16string(name)) != 0;
}

}  // namespace Arbor::Secure
