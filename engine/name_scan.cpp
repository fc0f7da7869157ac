#include "engine/name_scan.h"

#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lq {

namespace {

void ScanBytes(const char* name, std::size_t size, char separator, NameMarks& m) {
  m = NameMarks{};
  for (std::size_t i = 0; i < size; ++i) {
    const char c = name[i];
    if (c == '/' || c == separator) {
      m.last_separator = i;
    } else if (c == '.') {
      m.last_dot = i;
    } else if (c == '\r') {
      m.has_cr = true;
    } else if (c == 'Z') {
      m.has_z = true;
    }
  }
}

#ifdef __SSE2__
// Sixteen bytes at a time, never past the end: the last block is the one that ends with the
// name, so some bytes are seen twice, which changes no mark. size is 16 at least.
void ScanBlocks(const char* name, std::size_t size, char separator, NameMarks& m) {
  const __m128i slash = _mm_set1_epi8('/');
  const __m128i sep = _mm_set1_epi8(separator);
  const __m128i dot = _mm_set1_epi8('.');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i z = _mm_set1_epi8('Z');
  // The last block with a separator or a dot is kept; positions are worked out at the end.
  std::size_t sep_block = 0;
  unsigned sep_bits = 0;
  std::size_t dot_block = 0;
  unsigned dot_bits = 0;
  unsigned rare = 0;
  const std::size_t last = size - 16;
  for (std::size_t i = 0;; i += 16) {
    if (i > last) i = last;
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name + i));
    const unsigned seps = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(b, slash), _mm_cmpeq_epi8(b, sep))));
    const unsigned dots = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(b, dot)));
    rare |= static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(b, cr), _mm_cmpeq_epi8(b, z))));
    sep_block = seps != 0 ? i : sep_block;
    sep_bits = seps != 0 ? seps : sep_bits;
    dot_block = dots != 0 ? i : dot_block;
    dot_bits = dots != 0 ? dots : dot_bits;
    if (i == last) break;
  }
  m.last_separator =
      sep_bits != 0 ? sep_block + 31 - std::countl_zero(sep_bits) : std::string_view::npos;
  m.last_dot = dot_bits != 0 ? dot_block + 31 - std::countl_zero(dot_bits) : std::string_view::npos;
  m.has_cr = false;
  m.has_z = false;
  if (rare != 0) {
    const std::string_view text(name, size);
    m.has_cr = text.find('\r') != std::string_view::npos;
    m.has_z = text.find('Z') != std::string_view::npos;
  }
}
#endif

}  // namespace

void ScanName(const char* name, std::size_t size, char separator, NameMarks& marks) {
#ifdef __SSE2__
  if (size >= 16) return ScanBlocks(name, size, separator, marks);
#endif
  ScanBytes(name, size, separator, marks);
}

}  // namespace lq
