#include "About.h"

#include <QDesktopServices>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char* const TextyOkna[] = {
    " O programu",                                 // 0 caption
    "W_VK7316R",                                   // 1
    "Verze  ",                                     // 2 the version follows
    "Copyright © 2023  Všechna práva vyhrazena.",  // 3
    "Vlnospoj Technika s.r.o.",                    // 4
    "Cancel",                                      // 5
};

QString Text(int index)
{
    return QString::fromUtf8(TextyOkna[index]);
}

constexpr char SouborLoga[] = ":/about/logo.svg";
constexpr int SirkaLoga = 93;
constexpr int VyskaLoga = 52;
constexpr int VyskaNazvu = 19;  // program name, pixels

}  // namespace

// The logo lives in a static library, whose resource table the linker keeps
// only when something refers to it.
static void NactiZdroje()
{
    Q_INIT_RESOURCE(About);
}

TFormOProgramu::TFormOProgramu(QWidget* parent) : QDialog(parent)
{
    NactiZdroje();
    setWindowTitle(Text(0));

    Label1 = new QLabel(Text(1), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont nazev = Label1->font();
    nazev.setBold(true);
    nazev.setPixelSize(VyskaNazvu);
    Label1->setFont(nazev);

    Label2 = new QLabel(Text(2), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(Text(3), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4 = new QLabel(Text(4), this);
    Label4->setObjectName(QStringLiteral("Label4"));

    Label5 = new QLabel(QString::fromLatin1(AdresaWebu), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    QPalette modra = Label5->palette();
    modra.setColor(QPalette::WindowText, Qt::blue);
    Label5->setPalette(modra);
    QFont podtrzene = Label5->font();
    podtrzene.setUnderline(true);
    Label5->setFont(podtrzene);
    Label5->setCursor(Qt::PointingHandCursor);
    Label5->installEventFilter(this);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    Button1 = new QPushButton(Text(5), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TFormOProgramu::Button1Click);

    auto* texty = new QVBoxLayout;
    texty->setSpacing(4);
    for (QLabel* l : {Label1, Label2, Label3, Label4, Label5})
        texty->addWidget(l);
    texty->addStretch(1);

    auto* horni = new QHBoxLayout;
    horni->setSpacing(16);
    horni->addWidget(VytvorLogo(), 0, Qt::AlignTop);
    horni->addLayout(texty, 1);

    auto* tlacitka = new QHBoxLayout;
    tlacitka->addStretch(1);
    tlacitka->addWidget(Button1);

    auto* okno = new QVBoxLayout(this);
    okno->setContentsMargins(16, 16, 16, 12);
    okno->addLayout(horni);
    okno->addSpacing(8);
    okno->addWidget(Bevel1);
    okno->addLayout(tlacitka);
    okno->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
}

// Panel1 is white with a lowered bevel; the logo fills its inner area and
// keeps the panel's white behind its transparent parts.
QWidget* TFormOProgramu::VytvorLogo()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette bila = Panel1->palette();
    bila.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(bila);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(SirkaLoga, VyskaLoga);
    const qreal pomer = devicePixelRatioF();
    QPixmap logo(QSize(SirkaLoga, VyskaLoga) * pomer);
    logo.fill(Qt::transparent);
    QSvgRenderer kresba{QString::fromLatin1(SouborLoga)};
    if (kresba.isValid()) {
        QPainter malir(&logo);
        kresba.render(&malir);
    }
    logo.setDevicePixelRatio(pomer);
    Image1->setPixmap(logo);

    auto* vnitrek = new QVBoxLayout(Panel1);
    const int okraj = Panel1->frameWidth();
    vnitrek->setContentsMargins(okraj, okraj, okraj, okraj);
    vnitrek->addWidget(Image1);
    return Panel1;
}

void TFormOProgramu::FormCreate()
{
    Label2->setText(Label2->text() + QString::fromLatin1(Verze));
}

// Whether a browser could be started is neither checked nor reported.
void TFormOProgramu::Label5Click()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(AdresaWebu)));
}

void TFormOProgramu::Button1Click()
{
    reject();
}

bool TFormOProgramu::eventFilter(QObject* objekt, QEvent* udalost)
{
    if (objekt == Label5 && udalost->type() == QEvent::MouseButtonRelease) {
        const auto* mys = static_cast<QMouseEvent*>(udalost);
        if (mys->button() == Qt::LeftButton && Label5->rect().contains(mys->position().toPoint())) {
            Label5Click();
            return true;
        }
    }
    return QDialog::eventFilter(objekt, udalost);
}
