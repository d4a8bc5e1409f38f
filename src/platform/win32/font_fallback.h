#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hoshizora {

// The faces to try for a design face, best first: the face itself, the faces
// that look most like it, then Japanese faces that every Japanese-capable
// Windows has, then the faces of the test prefix. A face the design does not
// name gets itself alone.
std::vector<std::u16string> FontFallbackChain(std::u16string_view design_face);

// Japanese-capable sans-serif faces, best first.
std::vector<std::u16string> SansSerifFallbackChain();

// The first face of `chain` that `installed` accepts, else empty.
std::u16string FirstInstalledFace(const std::vector<std::u16string>& chain,
                                  const std::function<bool(std::u16string_view)>& installed);

// The first face after `face` in `chain` that `installed` accepts, else empty.
// Case is ignored when finding `face`, as face names are.
std::u16string NextInstalledFace(const std::vector<std::u16string>& chain, std::u16string_view face,
                                 const std::function<bool(std::u16string_view)>& installed);

}  // namespace hoshizora
