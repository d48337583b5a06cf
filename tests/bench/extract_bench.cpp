// Extraction benchmark: inflates a synthetic payload of more than 20 MB through the
// installer's extraction path into a file, and, in the same run, the floor of that work: zlib
// inflating into a preallocated buffer, then that buffer written beside the target with the
// same write, flush and rename steps. Prints both times, their ratio and the extraction's peak
// memory.
#include <windows.h>
#include <psapi.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "installer/UtilityPasZlib.h"

namespace {

// Looks like an executable: runs of code-like bytes, tables, zero padding and text.
std::vector<uint8_t> SyntheticPayload(size_t size) {
    std::vector<uint8_t> data(size);
    uint32_t x = 0x12345678;
    for (size_t i = 0; i < size;) {
        x = x * 1664525u + 1013904223u;
        size_t run = 64 + (x >> 22);
        switch ((x >> 8) % 4) {
            case 0:  // noisy code
                for (size_t k = 0; k < run && i < size; ++k, ++i) {
                    x = x * 1103515245u + 12345u;
                    data[i] = static_cast<uint8_t>(x >> 16) & 0x3F;
                }
                break;
            case 1:  // padding
                for (size_t k = 0; k < run && i < size; ++k, ++i) data[i] = 0;
                break;
            case 2:  // a table of increasing words
                for (size_t k = 0; k < run && i < size; ++k, ++i) data[i] = static_cast<uint8_t>(k * 4 + (k >> 8));
                break;
            default:  // text
                for (size_t k = 0; k < run && i < size; ++k, ++i) data[i] = "Kalvetra audio engine "[k % 22];
        }
    }
    return data;
}

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Committed private memory of the process, summed over its regions.
size_t CommittedPrivate() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (uint8_t* p = nullptr; VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi; p = static_cast<uint8_t*>(mbi.BaseAddress) + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
        if (static_cast<uint8_t*>(mbi.BaseAddress) + mbi.RegionSize < p) break;
    }
    return total;
}

// Samples the committed memory on a second thread while the extraction runs.
struct PeakSampler {
    volatile bool stop = false;
    size_t peak = 0;
    HANDLE thread = nullptr;
    static DWORD WINAPI Run(void* self) {
        auto* s = static_cast<PeakSampler*>(self);
        while (!s->stop) {
            s->peak = std::max(s->peak, CommittedPrivate());
            Sleep(1);
        }
        return 0;
    }
    void Start() { thread = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
    size_t Finish() {
        stop = true;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        return std::max(peak, CommittedPrivate());
    }
};

}  // namespace

int main(int argc, char** argv) {
    const size_t size = argc > 1 ? static_cast<size_t>(atoi(argv[1])) << 20 : size_t(24) << 20;
    const int rounds = 5;
    std::vector<uint8_t> packed;
    {
        auto data = SyntheticPayload(size);
        uLongf n = compressBound(static_cast<uLong>(size));
        packed.resize(n);
        compress2(packed.data(), &n, data.data(), static_cast<uLong>(size), 9);
        packed.resize(n);
    }
    printf("payload: %zu bytes decompressed, %zu compressed (header %02X %02X)\n", size, packed.size(), packed[0], packed[1]);

    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring target = std::wstring(tmp) + L"kalvetra_extract_bench.bin";

    tk::TMemoryStream resource;
    resource.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    std::vector<uint8_t>().swap(packed);

    // Peak memory of one extraction, above what the process held before it.
    size_t before = CommittedPrivate();
    PeakSampler sampler;
    sampler.Start();
    resource.SetPosition(0);
    kv::ExtractResourceToFile(resource, target);
    size_t peak = sampler.Finish() - before;
    double compressedMb = static_cast<double>(resource.Size()) / (1 << 20), sizeMb = static_cast<double>(size) / (1 << 20);
    double budget = compressedMb + 1.25 * sizeMb + 8;
    printf("extraction peak memory: %.1f MB (budget compressed + 1.25 x decompressed + 8 MB = %.1f MB)\n",
           static_cast<double>(peak) / (1 << 20), budget);

    std::vector<double> extract, floorTotal, inflate, inflateFresh, write, throughMemory;
    std::vector<uint8_t> out(size);
    for (int r = 0; r < rounds; ++r) {
        resource.SetPosition(0);
        double t0 = Now();
        kv::ExtractResourceToFile(resource, target);
        extract.push_back(Now() - t0);

        // The floor: the same bytes inflated into memory that is already there, then written
        // to the file with the same steps.
        t0 = Now();
        uLongf n = static_cast<uLongf>(size);
        uncompress(out.data(), &n, resource.Memory(), static_cast<uLong>(resource.Size()));
        double t1 = Now();
        tk::WriteFileReplacing(target, [&](tk::TFileStream& file) { file.WriteBuffer(out.data(), static_cast<int64_t>(n)); });
        double t2 = Now();
        floorTotal.push_back(t2 - t0);
        inflate.push_back(t1 - t0);
        write.push_back(t2 - t1);

        // For comparison: the whole file inflated into a memory stream first, then saved.
        {
            tk::TMemoryStream src, dst;
            resource.SetPosition(0);
            t0 = Now();
            src.CopyFrom(resource, 0);
            src.SetPosition(0);
            kv::DecompressStream(src, dst);
            dst.SaveToFile(target);
            throughMemory.push_back(Now() - t0);
        }

        // Inflating into memory that has never been touched, as a new process's memory is:
        // what the first-touch page faults of a 20 MB buffer cost.
        auto* fresh = static_cast<uint8_t*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        t0 = Now();
        uLongf m = static_cast<uLongf>(size);
        uncompress(fresh, &m, resource.Memory(), static_cast<uLong>(resource.Size()));
        inflateFresh.push_back(Now() - t0);
        VirtualFree(fresh, 0, MEM_RELEASE);
        if (n != size) {
            printf("inflate produced %lu bytes\n", static_cast<unsigned long>(n));
            return 1;
        }
    }
    DeleteFileW(target.c_str());
    const double e = Median(extract), f = Median(floorTotal);
    printf("build: %s\n", sizeof(void*) == 8 ? "x86_64" : "i686");
    printf("ExtractResourceToFile: %.1f ms (median of %d)\n", e * 1000, rounds);
    printf("floor (inflate into a preallocated buffer, then write, flush, rename): %.1f ms\n", f * 1000);
    printf("  of which inflate %.1f ms, file %.1f ms\n", Median(inflate) * 1000, Median(write) * 1000);
    printf("zlib inflate into fresh memory: %.1f ms\n", Median(inflateFresh) * 1000);
    printf("through a memory stream, then saved: %.1f ms (ratio %.2f)\n", Median(throughMemory) * 1000,
           Median(throughMemory) / f);
    printf("ratio: %.2f (goal at most 1.15)\n", e / f);
    printf("peak memory within budget: %s\n", static_cast<double>(peak) / (1 << 20) <= budget ? "yes" : "no");
    return 0;
}
