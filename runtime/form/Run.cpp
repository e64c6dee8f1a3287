// SPDX-License-Identifier: GPL-3.0-or-later
#include "Run.h"

#include <QCoreApplication>

#include <optional>

namespace rt {

int openAndRun(Form& form, const Form::Show& show)
{
    std::optional<int> status;
    QObject::connect(&form, &Form::unloaded, &form, [&status](int exitCode) {
        status = exitCode;
        QCoreApplication::exit(exitCode);
    });
    form.open(show);
    // Form_Load may end the program before there is an event loop to leave.
    return status ? *status : QCoreApplication::exec();
}

} // namespace rt
