#include "platform/cipher.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace velmora {

namespace {

bool ready() {
    static const bool initialised = sodium_init() >= 0;
    return initialised;
}

}  // namespace

std::optional<Cipher> Cipher::FromKeyFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() != kKeySize) return std::nullopt;
    std::array<unsigned char, kKeySize> key{};
    for (size_t i = 0; i < kKeySize; ++i) key[i] = static_cast<unsigned char>(bytes[i]);
    return Cipher(key);
}

bool Cipher::CreateKeyFile(const std::string& path) {
    if (!ready()) return false;
    std::array<unsigned char, kKeySize> key{};
    randombytes_buf(key.data(), key.size());
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    fchmod(fd, 0600);
    bool ok = write(fd, key.data(), key.size()) == static_cast<ssize_t>(key.size());
    ok = (close(fd) == 0) && ok;
    sodium_memzero(key.data(), key.size());
    return ok;
}

std::string Cipher::Encipher(const std::string& plain) const {
    if (!ready()) return {};
    std::vector<unsigned char> box(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES + plain.size());
    unsigned char* nonce = box.data();
    randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
    crypto_secretbox_easy(box.data() + crypto_secretbox_NONCEBYTES,
                          reinterpret_cast<const unsigned char*>(plain.data()), plain.size(), nonce, m_key.data());
    std::string text(sodium_base64_ENCODED_LEN(box.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(), box.data(), box.size(), sodium_base64_VARIANT_ORIGINAL);
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

std::optional<std::string> Cipher::Decipher(const std::string& stored) const {
    if (!ready() || stored.empty()) return std::nullopt;
    std::vector<unsigned char> box(stored.size());
    size_t length = 0;
    if (sodium_base642bin(box.data(), box.size(), stored.data(), stored.size(), nullptr, &length, nullptr,
                          sodium_base64_VARIANT_ORIGINAL) != 0)
        return std::nullopt;
    if (length < crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES) return std::nullopt;
    std::string plain(length - crypto_secretbox_NONCEBYTES - crypto_secretbox_MACBYTES, '\0');
    if (crypto_secretbox_open_easy(reinterpret_cast<unsigned char*>(plain.data()),
                                   box.data() + crypto_secretbox_NONCEBYTES, length - crypto_secretbox_NONCEBYTES,
                                   box.data(), m_key.data()) != 0)
        return std::nullopt;
    return plain;
}

}  // namespace velmora
