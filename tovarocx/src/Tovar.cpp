#include "Tovar.h"

#include "TextConversions.h"

namespace Tovar {

namespace {

Error wrongArgumentCount()
{
    return {450, QStringLiteral("Wrong number of arguments or invalid property assignment")};
}

void expectArgs(const QVariantList &args, qsizetype count)
{
    if (args.size() != count)
        throw wrongArgumentCount();
}

// A text argument; anything that cannot stand for a text is a type mismatch.
QString text(const QVariant &arg)
{
    if (!arg.canConvert<QString>())
        throw Error{13, QStringLiteral("Type mismatch")};
    return arg.toString();
}

} // namespace

QVariant Tovar::invoke(int dispid, QVariantList &args)
{
    switch (dispid) {
    case HTML2PT: {
        expectArgs(args, 1);
        args[0] = html2pt(text(args[0]));
        return args[0];
    }
    case PT2HTML: {
        expectArgs(args, 2);
        args[0] = pt2html(text(args[0]), args[1].toBool());
        return args[0];
    }
    case ColConv:
        expectArgs(args, 1);
        return colConv(text(args[0]));
    default:
        throw Error{438, QStringLiteral("Object doesn't support this property or method")};
    }
}

} // namespace Tovar
