// The whole stored form of a drawing under libFuzzer: each input is read into a drawing that
// already holds something. A refused input must leave that drawing storing the same bytes as
// before; an accepted one must store bytes that read back to the same bytes. Anything else
// (or a sanitizer report) is a finding.
//   stored_form_fuzz --seeds DIR      writes the seed drawings (every kind of component)
//   stored_form_fuzz [libFuzzer options] DIR...
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include "od_corpus.h"

int CTestShape::s_live = 0;

namespace {

enum Outcome { kRefused, kAccepted };

Outcome TryLoad(const uint8_t* data, size_t size, CODModel& model)
{
    std::vector<BYTE> bytes(data, data + size);
    try {
        Load(bytes, [&](CArchive& ar) { model.Serialize(ar); });
        return kAccepted;
    } catch (CException* e) {
        bool expected = e->IsKindOf(RUNTIME_CLASS(CArchiveException)) ||
                        e->IsKindOf(RUNTIME_CLASS(CMemoryException));
        if (!expected) {
            fprintf(stderr, "unexpected exception %s\n", e->GetRuntimeClass()->m_lpszClassName);
            __builtin_trap();
        }
        e->Delete();
        return kRefused;
    }
}

void Fail(const char* what)
{
    fprintf(stderr, "finding: %s\n", what);
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CODModel lived;
    LivedInModel(lived);
    const std::vector<BYTE> before = StoreModel(lived);
    if (TryLoad(data, size, lived) == kRefused) {
        if (FirstDifference(StoreModel(lived), before) != -1)
            Fail("a refused stream changed the drawing");
        return 0;
    }
    CODModel fresh;
    if (TryLoad(data, size, fresh) == kRefused)
        Fail("a stream read into one drawing was refused by a fresh one");
    const std::vector<BYTE> stored = StoreModel(fresh);
    CODModel again;
    if (TryLoad(stored.data(), stored.size(), again) == kRefused)
        Fail("a stored drawing could not be read back");
    if (FirstDifference(StoreModel(again), stored) != -1)
        Fail("a stored drawing read back to other bytes");
    return 0;
}

extern "C" int LLVMFuzzerRunDriver(int* argc, char*** argv, int (*cb)(const uint8_t*, size_t));

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--seeds") == 0) {
        std::vector<std::vector<BYTE>> corpus = od_corpus::Corpus();
        for (size_t i = 0; i < corpus.size(); ++i) {
            char path[4096];
            snprintf(path, sizeof(path), "%s/drawing%02u.bin", argv[2], (unsigned)i);
            FILE* f = fopen(path, "wb");
            if (f == NULL)
                return 1;
            fwrite(corpus[i].data(), 1, corpus[i].size(), f);
            fclose(f);
        }
        return 0;
    }
    return LLVMFuzzerRunDriver(&argc, &argv, LLVMFuzzerTestOneInput);
}
