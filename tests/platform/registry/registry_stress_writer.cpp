// Writes the stress values round after round, until it is killed; prints "writing" once it has begun.
#include <cstdio>

#include "platform/registry/registry.h"
#include "tests/platform/registry/registry_stress_pattern.h"

int main() {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!reg.OpenKey(stress::kKey, true)) return 1;
    for (uint32_t n = 1;; ++n) {
        if (!reg.WriteBinary("Blob", stress::BlobOfRound(n))) return 1;
        if (!reg.WriteString("Text", stress::TextOfRound(n))) return 1;
        if (!reg.WriteInteger("Round", static_cast<int32_t>(n))) return 1;
        if (n == 1) {
            std::printf("writing\n");
            std::fflush(stdout);
        }
    }
}
