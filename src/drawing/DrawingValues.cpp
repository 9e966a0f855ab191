#include "drawing/DrawingValues.h"

#include "foundation/Colours.h"
#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "interpreter/CommandArgs.h"

DrawingValues DrawingValues::atEveryComma(const QString &allArgs, int limit)
{
    return DrawingValues(splitCommasAtMost(allArgs, limit));
}

DrawingValues DrawingValues::upTo(const QString &allArgs, int limit)
{
    return DrawingValues(splitCommas(allArgs, limit));
}

double DrawingValues::number(int n) const
{
    return Numeric::toDouble((*this)[n]);
}

qint32 DrawingValues::whole(int n) const
{
    return Numeric::toLong((*this)[n]);
}

qint32 DrawingValues::colour(int n) const
{
    return Colours::GetColour((*this)[n], Colours::kWhite);
}

int DrawingValues::lineWidth(int n) const
{
    const qint16 width = Numeric::toInteger((*this)[n]);
    if (width < 1)
        throw RuntimeError::invalidPropertyValue();
    return width;
}
