// The channel list under the Day skin at 800 x 480: a step of the selection (a ScrollDown tick,
// HighlightItem and the repaint it causes) against a bare repaint of the same list area with the
// same labels;
// and a refresh tick and a jump with 10 and with 1,000 channels, to show that the work follows
// the rows on screen, not the size of the table.
#include "benchsupport.h"
#include "channellist/highlight.h"
#include "channellist/listwindow.h"
#include "channellist/scrolling.h"
#include "skinnedform.h"

#include <QApplication>
#include <QLabel>
#include <algorithm>
#include <memory>

namespace {

struct Window : SkinnedForm {
    radio::ChannelTable table;
    modFunctions::SharedWaitTimer waits;
    channellist::ListWindow list{channellist::ListControls::of(c), state, table};
    radio::TunedChannel tuned;
    channellist::Highlighter highlight{table, list, waits, tuned};
    skin::ButtonRepeat repeat{c.tmrButtonPressed};
    channellist::Scroller scroller{
        channellist::ScrollControls::of(c), skin::ButtonPainter(c, scale), table, list, highlight, repeat};

    explicit Window(int channels)
        : SkinnedForm(QStringLiteral("Day"), QSize(800, 480))
    {
        // The first skin fills the list from its first channel, as in the window.
        QObject::connect(&loader, &skin::SkinLoader::skinApplied, [this](bool again, qint16) {
            qint32 start = 0;
            if (!again)
                list.PopulateList(start);
        });
        for (int k = 1; k <= channels; ++k) {
            const int p = table.Add(radio::ChannelTable::RowKey(k));
            table.setText(p, radio::Station, QStringLiteral("Station %1").arg(k));
            table.setText(p, radio::Artist, QStringLiteral("Artist %1").arg(k));
            table.setText(p, radio::Title, QStringLiteral("Title of track %1").arg(k));
            table.setText(p, radio::Genre, QStringLiteral("Genre %1").arg(k % 12));
        }
        form.show();
        loader.LoadSkin();
        QCoreApplication::processEvents();
    }
    QWidget& area() { return *c.pctSkinnableList->widget(); }
};

// The same list area on a plain window: the rows' labels with the same texts, fonts and places.
struct BareList {
    QWidget form;
    QWidget area{&form};
    std::vector<std::unique_ptr<QLabel>> labels;

    explicit BareList(Window& w)
    {
        form.resize(w.form.size());
        area.setGeometry(w.area().geometry());
        for (int row = 0; row <= w.state.VisibleItems; ++row)
            for (int group = 0; group < 6; ++group) {
                QWidget* source = w.c.rowGroup(group)(row).widget();
                auto label = std::make_unique<QLabel>(w.c.rowGroup(group)(row).Caption(), &area);
                label->setGeometry(QRect(source->mapTo(&w.area(), QPoint(0, 0)), source->size()));
                label->setFont(w.c.rowGroup(group)(row).font());
                labels.push_back(std::move(label));
            }
        form.show();
        QCoreApplication::processEvents();
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 9;
    const int steps = 500;
    std::printf("The channel list, Day skin, 800 x 480 (median of %d runs)\n", runs);

    Window big(1000);
    BareList bare(big);

    // A step of the selection to the next channel, as each tick of a held step button makes it:
    // ScrollDown (HighlightItem of the next channel) and the repaint it causes. At the end of the
    // table the selection goes back to the top, untimed. Each run times the bare repaint right
    // before ours, and the ratio is the median of the runs' ratios, so a busy moment of the
    // machine weighs on both sides alike.
    for (const int channels : {10, 1000}) {
        Window w(channels);
        w.list.state().ChannelListReady = true;
        w.highlight.HighlightItem(1);
        std::vector<double> ours, bares, ratios;
        for (int run = 0; run < runs; ++run) {
            const double bareMs = bench::elapsedMs([&] {
                for (int i = 0; i < steps; ++i)
                    bare.area.repaint();
            });
            double oursMs = 0;
            for (int i = 0; i < steps; ++i) {
                if (w.list.state().SelectedListItem >= channels - 1)
                    w.highlight.HighlightItem(1);
                oursMs += bench::elapsedMs([&] {
                    w.scroller.ScrollDown();
                    w.area().repaint();
                });
            }
            ours.push_back(oursMs);
            bares.push_back(bareMs);
            ratios.push_back(oursMs / bareMs);
        }
        const auto median = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        std::printf("step of the selection, %4d channels %8.1f us   bare %8.1f us   paired ratio %5.2f (%.2f to "
                    "%.2f)   target <= 2.0  %s\n",
                    channels, median(ours) * 1000 / steps, median(bares) * 1000 / steps, median(ratios),
                    *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()),
                    median(ratios) <= 2.0 ? "ok" : "MISSED");
    }

    // Each tick and each jump shows new texts in every row, as a listing in full swing does: the
    // texts of the rows about to be shown change untimed before each one.
    for (const int channels : {10, 1000}) {
        Window w(channels);
        w.highlight.HighlightItem(channels / 2);
        int generation = 0;
        const auto renameRows = [&](int from) {
            ++generation;
            for (int p = std::max(from, 0); p < std::min(from + 10, channels); ++p)
                for (const radio::Column column : {radio::Station, radio::Artist, radio::Title, radio::Genre})
                    w.table.setText(p, column, QStringLiteral("Text %1/%2/%3").arg(p).arg(column).arg(generation));
        };
        const double tick = bench::medianOf(runs, [&] {
            double timed = 0;
            for (int i = 0; i < steps; ++i) {
                renameRows(w.list.state().TopListItem);
                timed += bench::elapsedMs([&] {
                    w.list.tmrUpdateListing_Timer();
                    w.area().repaint();
                });
            }
            return timed;
        });
        qint32 target = 1;
        const double jump = bench::medianOf(runs, [&] {
            double timed = 0;
            for (int i = 0; i < steps; ++i) {
                target = target * 7 % channels + 1;
                renameRows(target - 10);
                timed += bench::elapsedMs([&] {
                    w.highlight.HighlightItem(target);
                    w.area().repaint();
                });
            }
            return timed;
        });
        std::printf("%5d channels: refresh tick %8.1f us   jump %8.1f us\n", channels, tick * 1000 / steps,
                    jump * 1000 / steps);
    }
    return 0;
}
