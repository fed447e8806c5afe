#include "Validation.h"

#include "IntegerText.h"

namespace Validation {

bool carriedInPassword(char16_t code)
{
    return code >= 32 && code <= 126 && code != u')' && code != u']';
}

namespace {
const QString kCrLf = QStringLiteral("\r\n");

Issue fail(const QString &message, Field focus, int row = 0)
{
    Issue issue;
    issue.message = message;
    issue.focus = focus;
    issue.row = row;
    return issue;
}

Issue failAndSet(const QString &message, Field field, const QString &text)
{
    Issue issue = fail(message, field);
    issue.correction = text;
    issue.corrected = field;
    return issue;
}

std::optional<Issue> checkPin(const EditorSnapshot &e)
{
    if (!e.pinChecked)
        return std::nullopt;
    const qsizetype n = e.pin.size();
    if (n == 0)
        return failAndSet(QStringLiteral("Pole 'PIN' nie może być puste."), Field::EditPin, QString());
    if (n < 4 || n > 8)
        return fail(QStringLiteral("Pole 'PIN' musi mieć od 4 do 8 cyfr."), Field::EditPin);
    if (!IntegerText::isDigits(e.pin))
        return fail(QStringLiteral("Pole 'PIN' musi składać się z cyfr."), Field::EditPin);
    return std::nullopt;
}

std::optional<Issue> checkCentrum(const EditorSnapshot &e)
{
    if (!e.centrumChecked)
        return std::nullopt;
    const qsizetype n = e.centrum.size();
    if (n == 0)
        return failAndSet(QStringLiteral("Pole 'Centrum SMS' nie może być puste."), Field::EditCentrum, QString());
    if (n > NumberLength)
        return fail(QStringLiteral("Pole 'Centrum SMS' nie może mieć więcej niż %1 znaków.").arg(NumberLength),
                    Field::EditCentrum);
    if (!IntegerText::isDigits(e.centrum))
        return fail(QStringLiteral("Pole 'Centrum SMS' musi składać się z cyfr."), Field::None);
    return std::nullopt;
}

std::optional<Issue> checkAccessCode(const EditorSnapshot &e)
{
    const qsizetype n = e.accessCode.size();
    if (n == 0)
        return failAndSet(QStringLiteral("Pole 'Kod autoryzacji' nie może być puste."), Field::edtAccessCode,
                          QString());
    if (n != 4)
        return fail(QStringLiteral("Pole 'Kod autoryzacji' musi mieć 4 cyfry."), Field::edtAccessCode);
    if (!IntegerText::isDigits(e.accessCode))
        return fail(QStringLiteral("Pole 'Kod autoryzacji' musi składać się z cyfr."), Field::None);
    return std::nullopt;
}

std::optional<Issue> checkMeterPassword(const EditorSnapshot &e, const ModuleTraits &m)
{
    const qsizetype n = e.meterPassword.size();
    if (n == 0)
        return failAndSet(QStringLiteral("Pole 'Hasło do licznika' nie może być puste."), Field::edtMeterPwd,
                          QString());
    if (n > 10)
        return fail(QStringLiteral("Pole 'Hasło do licznika' nie może mieć więcej niż 10 znaków."),
                    Field::edtMeterPwd);
    // A password from a file may hold what the line cannot carry: the meter would
    // be left with a password nobody typed.
    if (!m.sendsPassword)
        return std::nullopt;
    for (const QChar c : e.meterPassword) {
        if (!carriedInPassword(c.unicode()))
            return fail(QStringLiteral("Pole 'Hasło do licznika' może zawierać tylko litery bez polskich znaków, "
                                       "cyfry, spację i znaki ASCII inne niż ')' i ']'."),
                        Field::edtMeterPwd);
    }
    return std::nullopt;
}

std::optional<Issue> checkDay(const EditorSnapshot &e)
{
    if (e.dzien.isEmpty())
        return failAndSet(QStringLiteral("Pole 'Dzień w miesiącu' nie może być puste."), Field::EditDzien,
                          QString());
    const auto day = IntegerText::signedDecimal(e.dzien);
    if (!day)
        return fail(QStringLiteral("W pole 'Dzień w miesiącu' należy wpisać liczbę od 1 do 31."), Field::EditDzien);
    if (*day < 1)
        return fail(QStringLiteral("Liczba w polu 'Dzień miesiąca' nie może być mniejsza niż 1."), Field::EditDzien);
    if (*day > 31)
        return fail(QStringLiteral("Liczba w polu 'Dzień miesiąca' nie może być większa niż 31."), Field::EditDzien);
    return std::nullopt;
}

std::optional<Issue> checkTime(const EditorSnapshot &e)
{
    const auto hour = IntegerText::signedDecimal(e.godzina);
    if (!hour)
        return fail(QStringLiteral("Pole 'Czas' ma niepoprawnie wpisaną godzinę."), Field::FlatEditGodzina);
    if (*hour > 23)
        return failAndSet(QStringLiteral("Godzina nie może być większa niż 23."), Field::FlatEditGodzina,
                          QStringLiteral("23"));
    if (*hour < 0)
        return failAndSet(QStringLiteral("Godzina jest wpisana niepoprawnie."), Field::FlatEditGodzina,
                          QStringLiteral("00"));
    const auto minute = IntegerText::signedDecimal(e.minuta);
    if (!minute)
        return fail(QStringLiteral("Pole 'Czas' ma niepoprawnie wpisaną minutę."), Field::FlatEditMinuta);
    if (*minute > 59)
        return failAndSet(QStringLiteral("Minuta nie może być większa niż 59."), Field::FlatEditMinuta,
                          QStringLiteral("59"));
    if (*minute < 0)
        return failAndSet(QStringLiteral("Minuta jest wpisana niepoprawnie."), Field::FlatEditMinuta,
                          QStringLiteral("00"));
    return std::nullopt;
}

std::optional<Issue> checkSchedule(const EditorSnapshot &e)
{
    if (!e.aktywny)
        return std::nullopt;
    if (e.miesiac == e.codziennie)
        return fail(QStringLiteral("Należy wybrać jeden rodzaj harmonogramu: 'Raz w miesiącu' lub 'Codziennie'."),
                    Field::None);
    if (e.miesiac) {
        if (auto issue = checkDay(e))
            return issue;
    }
    return checkTime(e);
}

std::optional<Issue> checkRows(const EditorSnapshot &e, const ModuleTraits &m)
{
    for (int n = 1; n <= m.maxNumbers; ++n) {
        const EditorSnapshot::Row &row = e.rows[n - 1];
        if (!row.inUse)
            continue;
        const QString &t = row.number;
        if (t.size() != NumberLength)
            return fail(QStringLiteral("W książce adresowej na pozycji: %1 numer telefonu %2 nie jest %3 cyfrowy.")
                            .arg(QString::number(n), t, QString::number(NumberLength)),
                        Field::EditKsiazka, n);
        if (t == QLatin1String("000000000") || t.startsWith(QLatin1Char('0')))
            return fail(QStringLiteral("Źle wpisano %1 numer telefonu.").arg(n) + kCrLf + kCrLf + t +
                            QStringLiteral(" jest wartością zabronioną."),
                        Field::EditKsiazka, n);
        if (!IntegerText::isDigits(t))
            return fail(QStringLiteral("Źle wpisano %1 numer telefonu.").arg(n), Field::EditKsiazka, n);
        if (!row.c && !row.s && m.extendedBook && !row.l)
            return fail(QStringLiteral("Nie zdefiniowano akcji dla numeru telefonu %1 na pozycji %2.")
                            .arg(t, QString::number(n)),
                        Field::CheckBoxC, n);
    }
    return std::nullopt;
}

std::optional<Issue> checkRepeats(const EditorSnapshot &e, const ModuleTraits &m)
{
    auto text = [&](int n) { return e.rows[n - 1].inUse ? e.rows[n - 1].number : QString(); };
    for (int i = 1; i <= m.maxNumbers; ++i) {
        for (int j = i + 1; j <= m.maxNumbers; ++j) {
            if (!text(i).isEmpty() && text(i) == text(j))
                return fail(QStringLiteral("Numery w książce telefonicznej nie mogą się powtarzać.") + kCrLf + kCrLf +
                                QStringLiteral("Pozycje: %1 i %2 mają taki sam numer.").arg(i).arg(j),
                            Field::EditKsiazka, j);
        }
    }
    return std::nullopt;
}

std::optional<Issue> dayQuestion(const EditorSnapshot &e)
{
    if (!e.miesiac)
        return std::nullopt;
    const auto day = IntegerText::signedDecimal(e.dzien);
    if (!day || *day < 29 || *day > 31)
        return std::nullopt;
    QString consequence;
    if (*day == 29)
        consequence = QStringLiteral("Spowoduje to, że harmonogram nie wykona się w lutym roku nieprzestępnego.");
    else if (*day == 30)
        consequence = QStringLiteral("Spowoduje to, że harmonogram nie wykona się w lutym.");
    else
        consequence = QStringLiteral(
            "Spowoduje to, że harmonogram nie wykona się w miesiącach w których ilość dni jest mniejsza niż 31.");
    Issue issue = fail(QStringLiteral("W konfiguracji harmonogramu wybrano %1 dzień w miesiącu.").arg(*day) + kCrLf +
                           consequence + kCrLf + kCrLf + QStringLiteral("Czy zapisać taką konfigurację?"),
                       Field::EditDzien);
    issue.question = true;
    return issue;
}

// Whole number in range, else the fallback: how storing reads the schedule fields.
quint8 scheduleByte(const QString &text, int min, int max, int fallback)
{
    const auto value = IntegerText::signedDecimal(text);
    return static_cast<quint8>((value && *value >= min && *value <= max) ? *value : fallback);
}
} // namespace

std::optional<Issue> firstIssue(const EditorSnapshot &editor, const ModuleTraits &module)
{
    if (auto i = checkPin(editor))
        return i;
    if (auto i = checkCentrum(editor))
        return i;
    if (auto i = checkAccessCode(editor))
        return i;
    if (auto i = checkMeterPassword(editor, module))
        return i;
    if (auto i = checkSchedule(editor))
        return i;
    if (auto i = checkRows(editor, module))
        return i;
    if (auto i = checkRepeats(editor, module))
        return i;
    return dayQuestion(editor);
}

EditorSnapshot shown(const TUstawienie &u, const ModuleTraits &m)
{
    EditorSnapshot e;
    auto twoDigits = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    e.identyfikator = u.Identyfikator.size() == 8 ? u.Identyfikator.text() : QString();
    e.pinChecked = !u.Pin.isEmpty();
    e.pin = e.pinChecked ? u.Pin.text() : QStringLiteral("Karta bez numeru PIN");
    e.centrumChecked = !u.Centrum.isEmpty();
    e.centrum = e.centrumChecked ? shownPhoneNumber(u.Centrum) : QString();
    e.accessCode = u.AccessCode.text();
    e.meterPassword = u.MeterPassword.text();
    e.aktywny = u.Harmonogram_rodzaj == 1 || u.Harmonogram_rodzaj == 2;
    e.miesiac = u.Harmonogram_rodzaj == 1;
    e.codziennie = u.Harmonogram_rodzaj == 2;
    if (e.miesiac)
        e.dzien = QString::number(u.Harmonogram_dzien);
    if (e.aktywny) {
        e.godzina = twoDigits(u.Harmonogram_godzina);
        e.minuta = twoDigits(u.Harmonogram_minuta);
    }
    for (int n = 0; n < 4; ++n)
        e.modem[n] = u.Modem[n].text();
    for (int n = 0; n < qBound(0, m.maxNumbers, 16); ++n) {
        EditorSnapshot::Row &row = e.rows[n];
        row.inUse = !u.Telefony[n].isEmpty();
        if (!row.inUse)
            continue;
        row.number = shownPhoneNumber(u.Telefony[n]);
        row.c = u.C[n];
        row.s = u.S[n];
        row.l = m.extendedBook && u.L[n];
    }
    e.allNumbers = m.extendedBook && u.AllNumbers;
    return e;
}

void store(const EditorSnapshot &e, const ModuleTraits &m, TUstawienie &r)
{
    r.Identyfikator.setText(e.identyfikator);
    r.Pin.setText(e.pinChecked ? e.pin : QString());
    if (e.centrumChecked)
        storePhoneNumber(r.Centrum, e.centrum);
    else
        r.Centrum.setText(QString());
    r.AccessCode.setText(e.accessCode);
    r.MeterPassword.setText(e.meterPassword.leftJustified(10, QLatin1Char(' '), true));

    if (e.aktywny) {
        if (e.miesiac) {
            r.Harmonogram_rodzaj = 1;
            r.Harmonogram_dzien = scheduleByte(e.dzien, 1, 31, 1);
        } else if (e.codziennie) {
            r.Harmonogram_rodzaj = 2;
            r.Harmonogram_dzien = 0;
        }
        r.Harmonogram_godzina = scheduleByte(e.godzina, 0, 23, 0);
        r.Harmonogram_minuta = scheduleByte(e.minuta, 0, 59, 0);
    } else {
        r.Harmonogram_rodzaj = 0;
        r.Harmonogram_dzien = 0;
        r.Harmonogram_godzina = 0;
        r.Harmonogram_minuta = 0;
    }

    for (int n = 0; n < 4; ++n)
        r.Modem[n].setText(e.modemChecked[n] ? e.modem[n] : QString());

    const int rows = qBound(0, m.maxNumbers, 16);
    for (int n = 0; n < rows; ++n) {
        const EditorSnapshot::Row &row = e.rows[n];
        if (row.inUse)
            storePhoneNumber(r.Telefony[n], row.number);
        else
            r.Telefony[n].setText(QString());
        r.C[n] = row.inUse && row.c;
        r.S[n] = row.inUse && row.s;
        if (m.extendedBook)
            r.L[n] = row.inUse && row.l;
    }
    if (m.extendedBook)
        r.AllNumbers = e.allNumbers;
}

} // namespace Validation
