// How quickly the editor window shows pages: making a page thumbnail, putting
// a page into the page view, and the whole start-up load of a long document.
// Run by hand: QT_QPA_PLATFORM=offscreen bench_editor_window
#include "app/core/Prompter.h"
#include "editor/core/FaxImage.h"
#include "editor/core/LayerStack.h"
#include "editor/core/Page.h"
#include "editor/ui/EditorHost.h"
#include "editor/ui/PageView.h"
#include "editor/ui/TFaxEditForm.h"
#include "editor/ui/ThumbnailImage.h"
#include "settings/core/TIni.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
constexpr QSize kA4At200Dpi(1664, 2338);
constexpr int kLongDocumentPages = 100;

// A 1-bit A4 page covered with lines of "text" (short black bars), the kind
// of page a fax printer delivers.
QImage TextPage(int variant)
{
    QImage page(kA4At200Dpi, QImage::Format_Mono);
    page.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    page.fill(0);
    for (int line = 0; line < 60; ++line) {
        const int y = 150 + line * 34;
        for (int word = 0; word < 14; ++word) {
            const int x = 120 + word * 100 + (variant * 7 + line * 13 + word * 5) % 30;
            const int width = 40 + (variant + line * 3 + word * 11) % 50;
            for (int row = y; row < y + 18; ++row)
                for (int column = x; column < x + width; ++column)
                    page.setPixel(column, row, 1);
        }
    }
    return page;
}

class NullPrompter : public Prompter
{
public:
    Answer ask(Icon, Buttons, const QString&) override { return Answer::Cancel; }
};

class BenchHost : public EditorHost
{
public:
    TIni& Settings() override { return m_settings; }
    void SaveSettings() override {}
    bool ShowOptions() override { return false; }
    Prompter& prompter() override { return m_prompter; }

private:
    TIni m_settings;
    NullPrompter m_prompter;
};

void BM_ThumbnailOfA4BilevelPage(benchmark::State& state)
{
    const QImage page = TextPage(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeThumbnail(page, QSize(170, 170)));
}
BENCHMARK(BM_ThumbnailOfA4BilevelPage)->Unit(benchmark::kMillisecond);

void BM_PageIntoViewAtFitZoom(benchmark::State& state)
{
    const Page page(TextPage(2), PageParameters());
    PageView view;
    view.resize(1000, 800);
    view.show();
    view.setZoom(35);
    for (auto _ : state) {
        view.setLayers(LayerStack::fromPage(page));
        benchmark::DoNotOptimize(view.grab());
    }
}
BENCHMARK(BM_PageIntoViewAtFitZoom)->Unit(benchmark::kMillisecond);

// The start-up load of a 100-page fax document read from a folder of the
// user's (so the file is not deleted and every round reads the same file).
void BM_OpenLongDocument(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("documents/long.tif"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::vector<Page> pages;
    for (int i = 0; i < kLongDocumentPages; ++i)
        pages.emplace_back(TextPage(i), PageParameters());
    if (!WriteFaxImage(pages, path).ok()) {
        state.SkipWithError("cannot write the test document");
        return;
    }
    pages.clear();
    qputenv("TMPDIR", QFile::encodeName(folder.path()));

    BenchHost host;
    for (auto _ : state) {
        auto* editor = new TFaxEditForm(host);
        editor->OpenDocument(path);
        while (!editor->startupLoadDone())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        editor->grab();
        state.PauseTiming();
        editor->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["pages"] = kLongDocumentPages;
}
BENCHMARK(BM_OpenLongDocument)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
