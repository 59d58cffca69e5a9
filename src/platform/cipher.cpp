#include "platform/cipher.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace velmora {

namespace {

bool ready() {
    static const bool initialised = sodium_init() >= 0;
    return initialised;
}

}  // namespace

std::optional<Cipher> Cipher::FromKeyFile(const std::string& path, std::string* problem) {
    auto refuse = [&](std::string why) -> std::optional<Cipher> {
        if (problem) *problem = path + ": " + why;
        return std::nullopt;
    };
    // Only a regular file of exactly the key's size is read; a folder, a
    // device or a file of any other size is refused before anything is read.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return refuse(errno == ENOENT ? "no such file" : std::strerror(errno));
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return refuse("not a regular file");
    }
    if (st.st_size != static_cast<off_t>(kKeySize)) {
        close(fd);
        return refuse("not a key of " + std::to_string(kKeySize) + " bytes (" + std::to_string(st.st_size) + " bytes)");
    }
    std::array<unsigned char, kKeySize> key{};
    size_t got = 0;
    while (got < kKeySize) {
        const ssize_t n = read(fd, key.data() + got, kKeySize - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    if (got != kKeySize) {
        sodium_memzero(key.data(), key.size());
        return refuse("cannot be read");
    }
    Cipher cipher(key);
    sodium_memzero(key.data(), key.size());
    return cipher;
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
