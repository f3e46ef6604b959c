// Frame and start-up costs of the drawing code on the host (OSMesa, 800 x 600),
// against the shipped data.qv. Run from the folder holding data.qv; prints
// Google Benchmark's table, then each figure as a ratio to its baseline.
#include <GL/osmesa.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "assets/Sound.h"
#include "game/GameRules.h"
#include "game/Shapes.h"
#include "render/GL.h"
#include "render/Render.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A game well under way: settled rows, a piece in flight, four lamps lit.
void SetPlayState() {
    ResetTestWorld();
    NewGame();
    gameState.soundOn = true;
    gameState.fieldVisible = true;
    for (int r = 12; r <= 20; ++r) {
        for (int c = 1; c <= 10; ++c) {
            if ((c + r) % 4 != 0) BoardCell(gameState.board, c, r) = std::uint8_t(2 + (c * 3 + r) % 7);
        }
    }
    gameState.pieceOrientation = 3;
    gameState.pieceRow = 5;
    std::memcpy(gameState.nextPreview, ShapeTable[1], 16);
    for (int n = 0; n < 4; ++n) gameState.levelReached[n] = true;
}

void DrawFrames(benchmark::State& state, void (*arrange)()) {
    SetPlayState();
    arrange();
    for (auto _ : state) {
        DrawFrame();
        glFinish();  // the frame is only done once it is rasterised
    }
}

void BM_FramePlay(benchmark::State& state) {
    DrawFrames(state, [] {});
}
void BM_FrameChallengeHidden(benchmark::State& state) {
    DrawFrames(state, [] {
        gameState.challengeMode = true;
        gameState.fieldVisible = false;
    });
}
void BM_FrameMenu(benchmark::State& state) {
    DrawFrames(state, [] {
        gameState.menuOpen = true;
        gameState.spinAngle = 30.0f;
        for (bool& blink : gameState.menuBlink) blink = true;
    });
}
void BM_FrameCredits(benchmark::State& state) {
    DrawFrames(state, [] { gameState.keyDown[0x51] = gameState.keyDown[0x56] = 1; });
}

void BM_ReadArchiveBytes(benchmark::State& state) {
    std::vector<unsigned char> bytes;
    for (auto _ : state) {
        std::FILE* file = std::fopen(kArchiveName, "rb");
        if (file == nullptr) {
            state.SkipWithError("data.qv not found");
            return;
        }
        std::fseek(file, 0, SEEK_END);
        bytes.resize(std::size_t(std::ftell(file)));
        std::fseek(file, 0, SEEK_SET);
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}

void BM_LoadAssetsAndBuildLists(benchmark::State& state) {
    for (auto _ : state) {
        if (!LoadAssets()) {
            state.SkipWithError("LoadAssets failed");
            return;
        }
        BuildDisplayLists();
        glFinish();
        state.PauseTiming();
        glDeleteTextures(kTextureCount, gameState.textureIds);
        ReleaseSounds();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_FramePlay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameChallengeHidden)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameMenu)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameCredits)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadArchiveBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadAssetsAndBuildLists)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                seconds[run.benchmark_name()] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void PrintRatio(const RatioReporter& reporter, const char* name, const char* baseline) {
    auto figure = reporter.seconds.find(name);
    auto base = reporter.seconds.find(baseline);
    if (figure == reporter.seconds.end() || base == reporter.seconds.end()) return;
    std::printf("%-28s %10.3f ms  %8.2f x %s\n", name, figure->second * 1e3, figure->second / base->second, baseline);
}

}  // namespace

// OSMesa never frees a context's window-system buffer; that is Mesa's, not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n";
}

int main(int argc, char** argv) {
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    std::vector<unsigned char> colour(std::size_t(kWidth) * kHeight * 4);
    if (context == nullptr || !OSMesaMakeCurrent(context, colour.data(), GL_UNSIGNED_BYTE, kWidth, kHeight)) {
        std::fprintf(stderr, "no OSMesa context\n");
        return 1;
    }
    ResizeScene(kWidth, kHeight);
    if (InitGL() == 0) {
        std::fprintf(stderr, "InitGL failed: run from the folder holding data.qv\n");
        return 1;
    }
    ReleaseSounds();  // frames need none; the start-up benchmark loads its own

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios\n");
    for (const char* name : {"BM_FramePlay", "BM_FrameChallengeHidden", "BM_FrameMenu", "BM_FrameCredits"}) {
        PrintRatio(reporter, name, "BM_FramePlay");
    }
    PrintRatio(reporter, "BM_LoadAssetsAndBuildLists", "BM_ReadArchiveBytes");
    std::fflush(stdout);
    benchmark::Shutdown();
    OSMesaDestroyContext(context);
    return 0;
}
