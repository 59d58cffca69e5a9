#pragma once

#include <array>
#include <optional>
#include <string>

namespace velmora {

// The suite's PIN cipher: a stored PIN is base64(nonce ‖ secretbox(PIN)) under
// the installation's 32-byte key (conf/cipher.key). The administration tool
// enciphers, the program deciphers; both use this one class.
class Cipher {
public:
    static constexpr size_t kKeySize = 32;

    // Reads the key file; nothing when it is missing, not a regular file or
    // not 32 bytes, with the reason (naming the path) in `problem`.
    static std::optional<Cipher> FromKeyFile(const std::string& path, std::string* problem = nullptr);
    // Writes a new random key (mode 0600). False when the file cannot be written.
    static bool CreateKeyFile(const std::string& path);

    explicit Cipher(const std::array<unsigned char, kKeySize>& key) : m_key(key) {}

    std::string Encipher(const std::string& plain) const;
    // Nothing for a text that is not a value enciphered under this key.
    std::optional<std::string> Decipher(const std::string& stored) const;

private:
    std::array<unsigned char, kKeySize> m_key;
};

}  // namespace velmora
