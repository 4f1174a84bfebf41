#include "s/gui/layout/Arrange.h"

#include <algorithm>
#include <vector>

#include "s/gui/IComponent.h"

namespace s::gui::layout
{
namespace
{

int preferredWidth(IComponent* c)
{
    return std::max(c->getMinWidth(), c->getMaxWidth());
}
int preferredHeight(IComponent* c)
{
    return std::max(c->getMinHeight(), c->getMaxHeight());
}

// Ends of an axis: 0 start, 1 centre, 2 end; only when there is room left.
int alignedOffset(int align, int room)
{
    if (room < 1)
        return 0;
    if (align == 1)
        return room / 2;
    if (align == 2)
        return room;
    return 0;
}

std::vector<IComponent*> childrenOf(IComponent* container)
{
    std::vector<IComponent*> list;
    int n = container->getChildCount();
    list.reserve(n > 0 ? n : 0);
    for (int i = 0; i < n; ++i)
    {
        if (IComponent* c = container->getChild(i))
            list.push_back(c);
    }
    return list;
}

// Holding every move of one pass until the end, so each child is placed once.
void suspendChildren(IComponent* container, const std::vector<IComponent*>& kids)
{
    if (container->isLayoutSuspended())
        return;
    for (IComponent* c : kids)
        c->suspendLayout();
}

void resumeChildren(IComponent* container, const std::vector<IComponent*>& kids)
{
    if (container->isLayoutSuspended())
        return;
    for (IComponent* c : kids)
        c->resumeLayout();
}

void put(int* target, int value)
{
    if (target)
        *target = value;
}

// Sum of sizes with a gap before a child whose predecessor has a size; a trailing
// gap (before a last child without size) is taken off again.
int sumWithGaps(const std::vector<int>& sizes, int gap)
{
    int total = 0;
    for (size_t i = 0; i < sizes.size(); ++i)
    {
        if (i > 0 && sizes[i - 1] >= 1)
            total += gap;
        total += sizes[i];
    }
    if (total >= 1 && !sizes.empty() && sizes.back() < 1)
        total -= gap;
    return total;
}

// The column and the row are one routine on exchanged axes.
struct Axes
{
    bool vertical;
    int main(IComponent* c) const { return vertical ? c->getHeight() : c->getWidth(); }
    int cross(IComponent* c) const { return vertical ? c->getWidth() : c->getHeight(); }
    int minMain(IComponent* c) const { return vertical ? c->getMinHeight() : c->getMinWidth(); }
    int minCross(IComponent* c) const { return vertical ? c->getMinWidth() : c->getMinHeight(); }
    int prefMain(IComponent* c) const { return vertical ? preferredHeight(c) : preferredWidth(c); }
    int prefCross(IComponent* c) const { return vertical ? preferredWidth(c) : preferredHeight(c); }
    int clientMain(IComponent* c) const { return vertical ? c->getClientHeight() : c->getClientWidth(); }
    int clientCross(IComponent* c) const { return vertical ? c->getClientWidth() : c->getClientHeight(); }
    void setMain(IComponent* c, int v) const
    {
        if (vertical)
            c->setSizeClamped(c->getWidth(), v);
        else
            c->setSizeClamped(v, c->getHeight());
    }
    void setCross(IComponent* c, int v) const
    {
        if (vertical)
            c->setSizeClamped(v, c->getHeight());
        else
            c->setSizeClamped(c->getWidth(), v);
    }
    void place(IComponent* c, int mainPos, int crossPos) const
    {
        if (vertical)
            c->setPosition(crossPos, mainPos);
        else
            c->setPosition(mainPos, crossPos);
    }
};

void arrangeLine(IComponent* container, bool vertical, int mainAlign, int crossAlign, int gap,
                 int* minMainOut, int* minCrossOut, int* prefMainOut, int* prefCrossOut)
{
    const Axes ax{vertical};
    std::vector<IComponent*> kids = childrenOf(container);
    suspendChildren(container, kids);

    int largestMinCross = 0;
    int largestPrefCross = 0;
    for (IComponent* c : kids)
    {
        largestMinCross = std::max(largestMinCross, ax.minCross(c));
        largestPrefCross = std::max(largestPrefCross, ax.prefCross(c));
    }
    const int crossSize = std::max(ax.clientCross(container), largestMinCross);

    // Every child starts at its minimum along the line; a column stretches the
    // children across at once, a row sets their heights after the widths.
    for (IComponent* c : kids)
    {
        if (vertical)
            c->setSizeClamped(crossSize, 0);
        else
            c->setSizeClamped(0, c->getHeight());
    }

    std::vector<int> sizes, prefs;
    for (IComponent* c : kids)
    {
        sizes.push_back(ax.main(c));
        prefs.push_back(ax.prefMain(c));
    }
    const int minTotal = sumWithGaps(sizes, gap);
    const int prefTotal = sumWithGaps(prefs, gap);
    const int available = std::max(ax.clientMain(container), minTotal);
    int extra = available - minTotal;

    if (extra >= 1 && minTotal < prefTotal)
    {
        if (available < prefTotal)
        {
            // One ratio for all children, so the growth is shared in proportion.
            const float ratio = static_cast<float>(extra) / static_cast<float>(prefTotal - minTotal);
            int given = 0;
            for (IComponent* c : kids)
            {
                int room = ax.prefMain(c) - ax.main(c);
                if (room <= 0)
                    continue;
                int grow = static_cast<int>(static_cast<float>(room) * ratio);
                if (grow > 0)
                {
                    ax.setMain(c, ax.main(c) + grow);
                    given += grow;
                }
            }
            int left = extra - given;
            for (IComponent* c : kids)
            {
                if (left <= 0)
                    break;
                int room = ax.prefMain(c) - ax.main(c);
                if (room <= 0)
                    continue;
                int take = std::min(room, left);
                ax.setMain(c, ax.main(c) + take);
                left -= take;
            }
            extra = 0;
        }
        else
        {
            for (IComponent* c : kids)
                ax.setMain(c, ax.prefMain(c));
            extra = available - prefTotal;
        }
    }

    if (!vertical)
    {
        for (IComponent* c : kids)
            ax.setCross(c, crossSize);
    }

    int pos = alignedOffset(mainAlign, extra);
    IComponent* previous = nullptr;
    for (IComponent* c : kids)
    {
        if (previous && ax.main(previous) >= 1)
            pos += gap;
        int crossPos = 0;
        int size = ax.cross(c);
        if (size < crossSize)
            crossPos = alignedOffset(crossAlign, crossSize - size);
        ax.place(c, pos, crossPos);
        pos += ax.main(c);
        previous = c;
    }

    resumeChildren(container, kids);
    put(minMainOut, minTotal);
    put(minCrossOut, largestMinCross);
    put(prefMainOut, prefTotal);
    put(prefCrossOut, largestPrefCross);
}

} // namespace

void arrangeColumn(IComponent* container, int hAlign, int vAlign, int gap, int* minWidth, int* minHeight,
                   int* prefWidth, int* prefHeight)
{
    arrangeLine(container, true, vAlign, hAlign, gap, minHeight, minWidth, prefHeight, prefWidth);
}

void arrangeRow(IComponent* container, int hAlign, int vAlign, int gap, int* minWidth, int* minHeight,
                int* prefWidth, int* prefHeight)
{
    arrangeLine(container, false, hAlign, vAlign, gap, minWidth, minHeight, prefWidth, prefHeight);
}

void arrangeFlow(IComponent* container, int hAlign, int vAlign, int hGap, int vGap, int* minWidth,
                 int* minHeight, int* prefWidth, int* prefHeight)
{
    std::vector<IComponent*> kids = childrenOf(container);

    int largestMinWidth = 0;
    for (IComponent* c : kids)
        largestMinWidth = std::max(largestMinWidth, c->getMinWidth());
    const int rowWidth = std::max(container->getClientWidth(), largestMinWidth);
    for (IComponent* c : kids)
        c->setSizeClamped(rowWidth, 0);

    auto takesGaps = [](IComponent* c) { return c->isVisible() && c->getMinWidth() > 0; };

    // Rows as index ranges [first, end) with the width they use.
    struct Row
    {
        size_t first, end;
        int used;
    };
    std::vector<Row> rows;
    for (size_t i = 0; i < kids.size(); ++i)
    {
        IComponent* c = kids[i];
        int w = c->getWidth();
        if (rows.empty())
        {
            rows.push_back({i, i + 1, w});
            continue;
        }
        Row& row = rows.back();
        int gap = takesGaps(kids[i - 1]) && takesGaps(c) ? hGap : 0;
        if (rowWidth - row.used - gap - w < 0)
        {
            rows.push_back({i, i + 1, w});
        }
        else
        {
            row.end = i + 1;
            row.used += gap + w;
        }
    }

    auto measure = [&](bool preferred)
    {
        int total = 0;
        for (size_t r = 0; r < rows.size(); ++r)
        {
            int tallest = 0;
            for (size_t i = rows[r].first; i < rows[r].end; ++i)
                tallest = std::max(tallest, preferred ? preferredHeight(kids[i]) : kids[i]->getHeight());
            total += tallest + (r > 0 ? vGap : 0);
        }
        return total;
    };
    const int minTotal = measure(false);
    const int prefTotal = measure(true);
    const int available = std::max(container->getClientHeight(), minTotal);
    int extra = available - minTotal;
    if (extra > 0 && minTotal < prefTotal)
    {
        const float ratio = static_cast<float>(extra) / static_cast<float>(prefTotal - minTotal);
        for (IComponent* c : kids)
        {
            int room = c->getMaxHeight() - c->getHeight();
            if (room > 0)
                c->setSizeClamped(c->getWidth(),
                                  c->getHeight() + static_cast<int>(static_cast<float>(room) * ratio));
        }
        extra = available - measure(false);
    }

    int y = extra > 0 ? alignedOffset(vAlign, extra) : 0;
    for (const Row& row : rows)
    {
        int x = alignedOffset(hAlign, rowWidth - row.used);
        int tallest = 0;
        for (size_t i = row.first; i < row.end; ++i)
        {
            IComponent* c = kids[i];
            if (i > row.first && takesGaps(kids[i - 1]) && takesGaps(c))
                x += hGap;
            c->setPosition(x, y);
            x += c->getWidth();
            tallest = std::max(tallest, c->getHeight());
        }
        y += tallest + vGap;
    }

    int singleRow = 0;
    for (size_t i = 0; i < kids.size(); ++i)
    {
        if (i > 0 && takesGaps(kids[i - 1]) && takesGaps(kids[i]))
            singleRow += hGap;
        singleRow += preferredWidth(kids[i]);
    }
    put(minWidth, largestMinWidth);
    put(minHeight, minTotal);
    put(prefWidth, singleRow);
    put(prefHeight, prefTotal);
}

void arrangePile(IComponent* container, int hAlign, int vAlign, int* minWidth, int* minHeight, int* prefWidth,
                 int* prefHeight)
{
    std::vector<IComponent*> all = childrenOf(container);
    std::vector<IComponent*> kids;
    for (IComponent* c : all)
    {
        if (c->isVisible())
            kids.push_back(c);
    }
    suspendChildren(container, kids);

    int largestMinWidth = 0, largestMinHeight = 0, largestPrefWidth = 0, largestPrefHeight = 0;
    for (IComponent* c : kids)
    {
        largestMinWidth = std::max(largestMinWidth, c->getMinWidth());
        largestMinHeight = std::max(largestMinHeight, c->getMinHeight());
        largestPrefWidth = std::max(largestPrefWidth, preferredWidth(c));
        largestPrefHeight = std::max(largestPrefHeight, preferredHeight(c));
    }
    const int width = std::max(container->getClientWidth(), largestMinWidth);
    const int height = std::max(container->getClientHeight(), largestMinHeight);
    for (IComponent* c : kids)
    {
        c->setSizeClamped(width, 0);
        if (c->getHeight() < c->getMaxHeight())
            c->setSizeClamped(c->getWidth(), c->getMaxHeight());
    }
    for (IComponent* c : kids)
    {
        int x = c->getWidth() < width ? alignedOffset(hAlign, width - c->getWidth()) : 0;
        int y = c->getHeight() < height ? alignedOffset(vAlign, height - c->getHeight()) : 0;
        c->setPosition(x, y);
    }

    resumeChildren(container, kids);
    put(minWidth, largestMinWidth);
    put(minHeight, largestMinHeight);
    put(prefWidth, largestPrefWidth);
    put(prefHeight, largestPrefHeight);
}

} // namespace s::gui::layout
