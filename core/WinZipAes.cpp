#include "WinZipAes.h"

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/rand.h>

#include <cstring>

namespace pallstone {

namespace {

constexpr int kKeySize = 32;
constexpr int kRounds = 1000;

} // namespace

WinZipAes::WinZipAes()
    : m_cipher(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free), m_mac(nullptr, &EVP_MAC_CTX_free)
{}

WinZipAes::~WinZipAes() = default;

bool WinZipAes::start(const QByteArray& password)
{
    unsigned char derived[2 * kKeySize + kVerifierSize];
    if (!m_cipher || RAND_bytes(m_header.data(), kSaltSize) != 1 ||
        PKCS5_PBKDF2_HMAC(password.constData(), int(password.size()), m_header.data(), kSaltSize,
                          kRounds, EVP_sha1(), int(sizeof derived), derived) != 1)
        return false;
    std::memcpy(m_header.data() + kSaltSize, derived + 2 * kKeySize, kVerifierSize);
    // Counter mode built on single blocks: OpenSSL's own counter mode counts big-endian.
    if (EVP_EncryptInit_ex(m_cipher.get(), EVP_aes_256_ecb(), nullptr, derived, nullptr) != 1 ||
        EVP_CIPHER_CTX_set_padding(m_cipher.get(), 0) != 1)
        return false;
    EVP_MAC* hmac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    if (!hmac)
        return false;
    m_mac.reset(EVP_MAC_CTX_new(hmac));
    EVP_MAC_free(hmac);
    char digest[] = "SHA1";
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                                 OSSL_PARAM_END};
    const bool ready =
        m_mac && EVP_MAC_init(m_mac.get(), derived + kKeySize, kKeySize, params) == 1;
    OPENSSL_cleanse(derived, sizeof derived);
    m_used = sizeof m_keystream;
    m_counter = 0;
    return ready;
}

QByteArray WinZipAes::header() const
{
    return QByteArray(reinterpret_cast<const char*>(m_header.data()), qsizetype(m_header.size()));
}

bool WinZipAes::refill()
{
    unsigned char counters[sizeof m_keystream] = {};
    for (size_t block = 0; block < sizeof counters; block += 16) {
        quint64 value = ++m_counter;
        for (size_t i = 0; i < 8; ++i, value >>= 8)
            counters[block + i] = static_cast<unsigned char>(value);
    }
    int length = 0;
    if (EVP_EncryptUpdate(m_cipher.get(), m_keystream.data(), &length, counters,
                          int(sizeof counters)) != 1 ||
        length != int(sizeof counters))
        return false;
    m_used = 0;
    return true;
}

bool WinZipAes::encrypt(char* data, qsizetype size)
{
    auto* bytes = reinterpret_cast<unsigned char*>(data);
    for (qsizetype done = 0; done < size;) {
        if (m_used == sizeof m_keystream && !refill())
            return false;
        const size_t run = std::min(sizeof m_keystream - m_used, size_t(size - done));
        for (size_t i = 0; i < run; ++i)
            bytes[size_t(done) + i] ^= m_keystream[m_used + i];
        m_used += run;
        done += qsizetype(run);
    }
    return EVP_MAC_update(m_mac.get(), bytes, size_t(size)) == 1;
}

QByteArray WinZipAes::authenticationCode()
{
    unsigned char code[EVP_MAX_MD_SIZE];
    size_t length = 0;
    if (EVP_MAC_final(m_mac.get(), code, &length, sizeof code) != 1 || length < kCodeSize)
        return {};
    return QByteArray(reinterpret_cast<const char*>(code), kCodeSize);
}

} // namespace pallstone
