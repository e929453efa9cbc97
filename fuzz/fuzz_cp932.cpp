// Code page 932 both ways: bytes that decode encode again and decode to the same
// text; text that encodes decodes to text that encodes to the same bytes (CP932
// folds a few look-alike characters such as the wave dash into one).

#include "FuzzSupport.h"
#include "model/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);
    if (const auto text = Cp932::decode(bytes)) {
        const auto encoded = Cp932::encode(*text);
        FUZZ_CHECK(encoded.has_value());
        const auto back = Cp932::decode(*encoded);
        FUZZ_CHECK(back.has_value() && *back == *text);
        FUZZ_CHECK(Cp932::firstUnencodable(*text).isEmpty());
    }

    // The same bytes as UTF-16 text, as a name typed in a window would be.
    // (From the byte array's own storage, which is aligned for 16-bit units.)
    const QString typed = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), qsizetype(size / 2));
    if (const auto encoded = Cp932::encode(typed)) {
        const auto decoded = Cp932::decode(*encoded);
        FUZZ_CHECK(decoded.has_value());
        const auto again = Cp932::encode(*decoded);
        FUZZ_CHECK(again.has_value() && *again == *encoded);
        FUZZ_CHECK(Cp932::firstUnencodable(typed).isEmpty());
    } else {
        FUZZ_CHECK(!Cp932::firstUnencodable(typed).isEmpty());
        FUZZ_CHECK(!StorableText::problem(typed).isEmpty());
    }
    return 0;
}
