#pragma once

#include <QByteArray>

#include <array>
#include <memory>

struct evp_cipher_ctx_st;
struct evp_mac_ctx_st;

namespace pallstone {

// Encrypts one zip entry's compressed data the way WinZip AES-256 does: keys derived from
// the password and a random salt with PBKDF2-HMAC-SHA1 (1000 rounds), AES in counter mode with a
// little-endian counter from 1, and an HMAC-SHA1 of the encrypted bytes cut to 10 bytes. The
// entry's data is header(), the encrypted bytes, then authenticationCode().
class WinZipAes final
{
public:
    static constexpr int kSaltSize = 16;
    static constexpr int kVerifierSize = 2;
    static constexpr int kCodeSize = 10;
    // What encryption adds to an entry's compressed size.
    static constexpr int kOverhead = kSaltSize + kVerifierSize + kCodeSize;

    WinZipAes();
    ~WinZipAes();
    WinZipAes(const WinZipAes&) = delete;
    WinZipAes& operator=(const WinZipAes&) = delete;

    // Derives the keys with a new random salt; false when the crypto library fails.
    bool start(const QByteArray& password);
    // The salt and the password verifier, written before the encrypted bytes.
    QByteArray header() const;
    // Encrypts in place, going on from where the previous call stopped.
    bool encrypt(char* data, qsizetype size);
    // Ends the entry; empty on failure.
    QByteArray authenticationCode();

private:
    bool refill();

    std::array<unsigned char, kSaltSize + kVerifierSize> m_header{};
    std::unique_ptr<evp_cipher_ctx_st, void (*)(evp_cipher_ctx_st*)> m_cipher;
    std::unique_ptr<evp_mac_ctx_st, void (*)(evp_mac_ctx_st*)> m_mac;
    // Keystream made ahead, many counter blocks at once (the cipher is fastest on long runs).
    std::array<unsigned char, 4096> m_keystream{};
    size_t m_used = sizeof m_keystream;
    quint64 m_counter = 0;
};

} // namespace pallstone
