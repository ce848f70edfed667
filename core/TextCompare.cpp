#include "core/TextCompare.h"

namespace {

unsigned char Folded(char C) {
  const auto U = static_cast<unsigned char>(C);
  return U >= 'a' && U <= 'z' ? static_cast<unsigned char>(U - 'a' + 'A') : U;
}

}  // namespace

int CompareText(const std::string& A, const std::string& B) {
  const std::size_t N = A.size() < B.size() ? A.size() : B.size();
  for (std::size_t I = 0; I < N; ++I) {
    const int D = Folded(A[I]) - Folded(B[I]);
    if (D != 0) return D;
  }
  return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}
