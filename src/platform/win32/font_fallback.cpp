#include "platform/win32/font_fallback.h"

#include <algorithm>
#include <initializer_list>

namespace hoshizora {
namespace {

char16_t FoldAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameFace(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// Faces on every Japanese-capable Windows, then the ones our Wine test
// prefix installs (it carries no Microsoft fonts).
constexpr std::initializer_list<std::u16string_view> kJapaneseTail = {
    u"MS Gothic", u"Meiryo", u"Yu Gothic", u"MS Mincho", u"IPAGothic", u"IPAPGothic", u"IPAMincho"};

void AppendUnique(std::vector<std::u16string>& chain,
                  std::initializer_list<std::u16string_view> faces) {
  for (std::u16string_view face : faces) {
    const bool seen = std::any_of(chain.begin(), chain.end(),
                                  [&](const std::u16string& f) { return SameFace(f, face); });
    if (!seen) {
      chain.emplace_back(face);
    }
  }
}

}  // namespace

std::vector<std::u16string> FontFallbackChain(std::u16string_view design_face) {
  std::vector<std::u16string> chain{std::u16string(design_face)};
  if (SameFace(design_face, u"MS Gothic")) {
    AppendUnique(chain, {u"IPAGothic"});
  } else if (SameFace(design_face, u"MS UI Gothic")) {
    AppendUnique(chain, {u"MS PGothic", u"IPAPGothic"});
  } else if (design_face == u"HGP行書体") {
    // Another brush face first, then Mincho, whose strokes are closer to a
    // brush than a Gothic's.
    AppendUnique(chain, {u"HG行書体", u"HGS行書体", u"AoyagiKouzanFontT", u"HG正楷書体-PRO",
                         u"Yu Mincho", u"MS PMincho", u"MS Mincho", u"IPAPMincho", u"IPAMincho"});
  } else {
    return chain;
  }
  AppendUnique(chain, kJapaneseTail);
  return chain;
}

std::vector<std::u16string> SansSerifFallbackChain() {
  std::vector<std::u16string> chain;
  AppendUnique(chain, {u"Meiryo", u"Yu Gothic", u"MS UI Gothic", u"MS PGothic", u"MS Gothic",
                       u"IPAPGothic", u"IPAGothic"});
  return chain;
}

std::u16string FirstInstalledFace(const std::vector<std::u16string>& chain,
                                  const std::function<bool(std::u16string_view)>& installed) {
  for (const std::u16string& face : chain) {
    if (installed(face)) {
      return face;
    }
  }
  return {};
}

std::u16string NextInstalledFace(const std::vector<std::u16string>& chain, std::u16string_view face,
                                 const std::function<bool(std::u16string_view)>& installed) {
  const auto at = std::find_if(chain.begin(), chain.end(),
                               [&](const std::u16string& f) { return SameFace(f, face); });
  if (at == chain.end()) {
    return {};
  }
  return FirstInstalledFace(std::vector<std::u16string>(at + 1, chain.end()), installed);
}

}  // namespace hoshizora
