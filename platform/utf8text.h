// The program holds every text as UTF-8 in std::string. These are the rules that keep
// such a text whole: whether bytes are UTF-8 at all, how many characters (code points)
// a text holds, where it may be cut, and how outside text of the older 8-bit kind
// (Latin-1) becomes UTF-8. Limits on texts count characters, never bytes, so that a
// Japanese title fits where an English one of as many letters does.
#pragma once

#include <cstddef>
#include <string>

// The length of the well-formed UTF-8 sequence at text[at] (1 to 4), or 0 when the
// byte there starts none: a stray continuation byte, a sequence cut short, an overlong
// form, a surrogate or a value past U+10FFFF.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at);

// true when every byte belongs to a well-formed sequence.
bool IsValidUtf8(const std::string& text);

// The number of characters; a byte that starts no well-formed sequence counts as one.
std::size_t Utf8Length(const std::string& text);

// The longest start of text that holds at most maxCharacters characters. A cut never
// falls inside a character; the bytes of a malformed sequence count one each.
std::string Utf8Prefix(const std::string& text, std::size_t maxCharacters);

// The largest byte count of at most maxBytes at which text can be cut without cutting
// a character in two (for limits that outside formats set in bytes).
std::size_t Utf8CutBytes(const std::string& text, std::size_t maxBytes);

// text without a letter cut short at its very end (by a limit in bytes): a lead byte
// followed by fewer continuation bytes than it needs. Anything else is left as it is.
std::string WithoutCutLetter(const std::string& text);

// Copies text into a buffer of size bytes for a narrow caller: terminated, and cut
// between letters when it does not fit.
void CopyUtf8(const std::string& text, char* buffer, std::size_t size);

// Latin-1 as Windows programs wrote it (the Windows-1252 page) as UTF-8: each byte is
// the letter of its own number, except that 0x80 to 0x9F, control codes in ISO 8859-1,
// are the page's quotes, dashes and letters ("Don\x92t" reads "Don't"). The five bytes
// the page leaves empty keep their control codes.
std::string Latin1ToUtf8(const std::string& text);

// Outside text that is UTF-8 or else Latin-1 (cddb entries, older files): valid UTF-8
// as it is, anything else read as Latin-1, so that no byte is lost.
std::string Utf8OrLatin1ToUtf8(const std::string& text);

// Makes text valid UTF-8 for a place that holds nothing else: each byte that starts no
// well-formed sequence becomes U+FFFD, as the system's own conversion does.
std::string ValidUtf8(const std::string& text);
