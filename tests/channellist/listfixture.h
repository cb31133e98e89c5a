// A list window of rows 0..v over a table made in the test, with the highlight wired to its
// timer, as the window wires them.
#pragma once

#include "channellist/highlight.h"
#include "channellist/listwindow.h"

#include <QWidget>
#include <gtest/gtest.h>

// A window of rows 0..v over n channels numbered 1..n, with stations "S1".."Sn".
struct List {
    using BackStyle = skin::BackStyle;
    using ChannelTable = radio::ChannelTable;

    QWidget form;
    skin::TwipsScale scale;
    skin::RadioXMControls c{&form, scale};
    skin::WindowState state;
    ChannelTable table;
    modFunctions::SharedWaitTimer waits;
    channellist::ListWindow list{c, state, table};
    radio::TunedChannel tuned;
    channellist::Highlighter highlight{c, state, table, list, waits, tuned};

    explicit List(int n, qint16 v = 4)
    {
        for (int k = 1; k <= n; ++k) {
            const int p = table.Add(ChannelTable::RowKey(k));
            table.setText(p, radio::Station, QStringLiteral("S%1").arg(k));
        }
        for (int row = 1; row <= v; ++row)
            for (int group = 0; group < 6; ++group)
                c.rowGroup(group).Load(row);
        state.VisibleItems = v;
        c.pctScrollBar->setHeight(3000);
        c.pctScroll->setHeight(300);
        QObject::connect(&c.tmrHighlightListItem, &skin::Timer::tick, &form,
                         [this] { highlight.tmrHighlightListItem_Timer(); });
    }

    void paint(qint32 start) { list.PopulateList(start); }

    // The rows drawn highlighted; a row whose six labels disagree fails the test.
    std::vector<int> opaqueRows()
    {
        std::vector<int> rows;
        for (int row = 0; row <= state.VisibleItems; ++row) {
            const BackStyle style = c.lblListItem(row).BackStyle();
            for (int group = 1; group < 6; ++group)
                EXPECT_EQ(c.rowGroup(group)(row).BackStyle(), style) << "row " << row << " group " << group;
            if (style == BackStyle::Opaque)
                rows.push_back(row);
        }
        return rows;
    }
    int shownRows() const
    {
        int shown = 0;
        for (int row = 0; row <= state.VisibleItems; ++row)
            shown += c.lblListItem0(row).Visible() ? 1 : 0;
        return shown;
    }
};

using Rows = std::vector<int>;
