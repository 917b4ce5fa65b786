#!/usr/bin/env python3
"""Writes the sample corpus of data/sample/ and the corpus file data/sample.cor.

The texts are our own invented transcriptions. They are written here with
markup tokens that become the marker characters of nac.rul:

  {P}  page marker (0xB1)         {R}  new folio, recto ("=")
  {V}  verso marker (0xBE)        {S}  span marker (0xAE), opens and closes
  {G}  glyph marker (0xAD)        {G:name}  glyph marker with its drawing
  {N:text}  footnote (rich text only)

Run from anywhere: python3 tools/make_sample_corpus.py
"""

import os
import re

from wmf import glyph

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data")
SAMPLE = os.path.join(DATA, "sample")

MARKERS = {"P": "\u00b1", "R": "=", "V": "\u00be", "S": "\u00ae", "G": "\u00ad"}
TOKEN = re.compile(r"\{(P|R|V|S|G)(?::(\w+))?\}|\{N:([^}]*)\}")


# --- The texts: one string per paragraph -----------------------------------

AUBERT = [
    "{P}{R}{S}Incipit liber Auberti de herbis{S}",
    "Herba quae dicitur salvina crescit in locis humidis et umbrosis. {G:leaf} Folia eius sunt lata "
    "et mollia, flores vero caerulei et parvi.",
    "Qui eam colligit ante ortum solis habebit virtutem maiorem{N:Le copiste a \u00e9crit \u00ab solys \u00bb, "
    "corrig\u00e9 ici d'apr\u00e8s le second t\u00e9moin.}, et qui post occasum, nullam.",
    "{V}De radice vero dicimus quod amara est et calida in secundo gradu. {G:flower} Contra dolorem "
    "capitis teritur cum aceto.",
    "{P}{R}{S}Capitulum secundum de rosa{S}",
    "Rosa est flos nobilis et odoratus. Aqua rosarum confortat cor et caput. {G:star}"
    "{N:Une main plus tardive a ajout\u00e9 une croix dans la marge.}",
    "{V}Oleum rosarum fit sic: accipe flores recentes et mitte in oleo per dies quadraginta, "
    "deinde cola per pannum.",
    "{P}{R}{S}Capitulum tertium de salvia{S}",
    "Salvia salvatrix, naturae conciliatrix. {G:cross}{N:Vers connu ; la le\u00e7on \u00ab conciliatrix \u00bb "
    "est propre \u00e0 ce t\u00e9moin.}{N:Voir aussi le folio 2 verso.}",
    "{V}Explicit liber de herbis. Deo gratias. {G:moon}",
]

AUBERT_TRAD = [
    "{P}Ici commence le livre d'Aubert sur les herbes",
    "L'herbe qu'on appelle salvine pousse dans les lieux humides et ombrag\u00e9s. Ses feuilles sont larges "
    "et molles, ses fleurs bleues et petites.",
    "Qui la cueille avant le lever du soleil aura une vertu plus grande, et qui apr\u00e8s le coucher, aucune.",
    "De la racine nous disons qu'elle est am\u00e8re et chaude au second degr\u00e9. Contre le mal de t\u00eate, "
    "on la broie avec du vinaigre.",
    "{P}Deuxi\u00e8me chapitre, de la rose",
    "La rose est une fleur noble et odorante. L'eau de rose fortifie le c\u0153ur et la t\u00eate.",
    "L'huile de rose se fait ainsi : prends des fleurs fra\u00eeches et mets-les dans l'huile quarante jours, "
    "puis filtre \u00e0 travers un linge.",
    "{P}Troisi\u00e8me chapitre, de la sauge",
    "Sauge qui sauve, amie de la nature.",
    "Fin du livre des herbes. Gr\u00e2ces \u00e0 Dieu.",
]

AUBERT_TRAD2 = [
    "{P}Livre d'Aubert : des herbes",
    "La salvine cro\u00eet aux lieux humides et sombres. Feuilles larges et douces ; fleurs bleues, petites.",
    "Cueillie avant l'aube, elle est plus forte ; apr\u00e8s le couchant, sans effet.",
    "Racine am\u00e8re, chaude au second degr\u00e9 ; broy\u00e9e au vinaigre contre les maux de t\u00eate.",
    "{P}Chapitre II : la rose",
    "Fleur noble et parfum\u00e9e ; son eau r\u00e9conforte le c\u0153ur et la t\u00eate.",
    "Huile de rose : fleurs fra\u00eeches dans l'huile quarante jours, puis passer au linge.",
    "{P}Chapitre III : la sauge",
    "\u00ab Sauge salvatrice, conciliatrice de la nature. \u00bb",
    "Explicit. Gr\u00e2ces \u00e0 Dieu.",
]

VITA = [
    "{P}{R}{S}Vita fratris Odonis clerici{S}",
    "Anno domini millesimo centesimo, frater Odo venit ad monasterium sancti Petri, pauper et nudus, "
    "et petivit panem et hospitium. {G}",
    "Abbas vero videns humilitatem eius recepit eum et dedit ei vestem et librum.",
    "{V}Odo autem legebat nocte et die, et scribebat libros multos manu sua, et pingebat litteras "
    "auro et minio.",
    "{P}{R}Post annos decem factus est armarius, et custodivit libros fratrum cum magna diligentia.",
    "Et quando aliquis frater petebat librum, Odo dicebat: {S}Redde quod accepisti{S}.",
    "{V}In hieme magna, quando flumen gelavit, Odo portavit ligna ad infirmos et {G} calefecit eos.",
    "{P}{R}Obiit Odo in pace, plenus dierum, et sepultus est in claustro iuxta portam.",
    "Requiescat in pace. Amen.",
]

VITA_TRAD = [
    "{P}Vie du fr\u00e8re Odon, clerc",
    "En l'an du Seigneur mille cent, fr\u00e8re Odon vint au monast\u00e8re de saint Pierre, pauvre et nu, "
    "et demanda du pain et l'hospitalit\u00e9.",
    "L'abb\u00e9, voyant son humilit\u00e9, le re\u00e7ut et lui donna un habit et un livre.",
    "Odon lisait nuit et jour, copiait de sa main de nombreux livres et peignait les lettres d'or et de minium.",
    "{P}Dix ans plus tard il devint armarius et garda les livres des fr\u00e8res avec grand soin.",
    "Et quand un fr\u00e8re demandait un livre, Odon disait : \u00ab Rends ce que tu as re\u00e7u. \u00bb",
    "Pendant le grand hiver, quand le fleuve gela, Odon porta du bois aux malades et les r\u00e9chauffa.",
    "{P}Odon mourut en paix, rassasi\u00e9 de jours, et fut enseveli dans le clo\u00eetre pr\u00e8s de la porte.",
    "Qu'il repose en paix. Amen.",
]

VITA_TRAD2 = [
    "{P}Odon le clerc",
    "L'an 1100, Odon arrive sans rien au monast\u00e8re Saint-Pierre et demande le g\u00eete.",
    "L'abb\u00e9 l'accueille, l'habille et lui donne un livre.",
    "Il lit, copie et enlumine jour et nuit.",
    "{P}Dix ans apr\u00e8s, il a la garde de la biblioth\u00e8que.",
    "Sa r\u00e8gle de pr\u00eat : \u00ab Rends ce que tu as pris. \u00bb",
    "L'hiver o\u00f9 g\u00e8le le fleuve, il chauffe les malades.",
    "{P}Il meurt vieux et repose au clo\u00eetre, pr\u00e8s de la porte.",
    "Amen.",
]

CARNET = [
    "{P}{R}{S}Carnet de route de ma\u00eetre Jehan{S}",
    "Le premier jour nous part\u00eemes de la cit\u00e9 par la porte du pont, et le ciel \u00e9tait clair. {G:key}",
    "Au soir nous trouv\u00e2mes une h\u00f4tellerie o\u00f9 l'on servait un vin aigre"
    "{N:\u00ab aigre \u00bb est soulign\u00e9 deux fois dans le manuscrit.} et du pain noir.",
    "{V}Le second jour, la pluie nous prit dans la for\u00eat, et nos chevaux s'\u00e9gar\u00e8rent.",
    "{P}{R}Le tiers jour vint un marchand de Flandre qui vendait des draps et des \u00e9pices. {G:star}",
    "Il nous conta qu'au-del\u00e0 des monts les gens mangeaient des figues toute l'ann\u00e9e"
    "{N:Ajout marginal d'une autre encre.}.",
    "{V}Nous pay\u00e2mes six deniers pour passer la rivi\u00e8re sur un bac.",
    "{P}{R}Le quart jour nous v\u00eemes enfin les tours de l'abbaye. {G:cross}{N:Le dessin de la croix "
    "est \u00e0 peine esquiss\u00e9.}",
]

RECETTES = [
    "{P}{R}{S}Cy commence le livre des viandes{S}",
    "Pour faire ung brouet de chappons, prenez les chappons et les mectez cuire en eaue et en vin, "
    "puis broyez gingembre, canelle et graine de paradis. {G}",
    "Et quant tout sera cuit, dressez par escuelles et gectez dessus du succre.",
    "{V}Pour faire une tarte de pommes, prenez bonnes pommes et les pelez, et ostez les pepins.",
    "{P}{R}Pour faire saulce cameline, prenez pain hal\u00e9 trempe en vin aigre, et canelle assez.",
    "{S}Nota{S} que la saulce ne doit point trop boullir.",
    "{V}Pour faire potaige de pois, prenez pois nouveaulx et les cuisez en eaue de feves. {G}",
    "{P}{R}Pour faire hippocras, prenez vin vermeil, canelle, gingembre et succre, et le coulez "
    "par la chausse. {G}",
    "{V}Explicit. Qui plus en sait plus en die.",
]


# --- Rendering ----------------------------------------------------------------

def rtf_escape(text, unicode_escapes=False):
    """Text as RTF: accented letters as \\'hh, or as \\uN? the way some
    converters write them."""
    out = []
    for ch in text:
        code = ord(ch.encode("cp1252"))
        if ch in "\\{}":
            out.append("\\" + ch)
        elif code < 0x80:
            out.append(ch)
        elif unicode_escapes:
            out.append("\\-" if ch == "\u00ad" else "\\u%d?" % ord(ch))
        else:
            out.append("\\'%02x" % code)
    return "".join(out)


def rtf_picture(name):
    data = glyph(name).hex()
    lines = [data[i:i + 64] for i in range(0, len(data), 64)]
    return "{\\pict\\wmetafile8\\picw529\\pich529\\picwgoal300\\pichgoal300\n" + "\n".join(lines) + "}"


def rtf_paragraph(text, converted):
    """One paragraph; `converted` writes it as document converters do
    (\\uN? escapes, \\- for the optional hyphen, starred footnotes)."""
    def esc(t):
        return rtf_escape(t, converted)
    out = []
    pos = 0
    for m in TOKEN.finditer(text):
        out.append(esc(text[pos:m.start()]))
        pos = m.end()
        if m.group(3) is not None:
            star = "\\*" if converted else ""
            out.append("{\\super\\chftn}{" + star + "\\footnote\\chftn\\~\\pard\\plain " + esc(m.group(3)) + "}")
            continue
        out.append(esc(MARKERS[m.group(1)]))
        if m.group(2):
            out.append(rtf_picture(m.group(2)))
    out.append(esc(text[pos:]))
    return "".join(out)


def rtf_document(title, paragraphs, converted=False):
    head = ("{\\rtf1\\ansi\\ansicpg1252\\deff0\n"
            "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fswiss\\fcharset0 Arial;}}\n"
            "{\\colortbl;\\red0\\green0\\blue0;\\red160\\green0\\blue0;}\n"
            "{\\info{\\title " + rtf_escape(title) + "}{\\author Lirno}}\n"
            "\\paperw11906\\paperh16838\\margl1417\\margr1417\n"
            "\\pard\\plain\\f0\\fs24\n")
    body = "\\par\n".join(rtf_paragraph(p, converted) for p in paragraphs)
    return (head + body + "\\par\n}\n").encode("cp1252")


def text_document(paragraphs):
    lines = []
    for p in paragraphs:
        def plain(m):
            if m.group(3) is not None:
                raise ValueError("footnotes need rich text")
            return MARKERS[m.group(1)]
        lines.append(TOKEN.sub(plain, p))
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def write(name, data):
    with open(os.path.join(SAMPLE, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(SAMPLE, exist_ok=True)
    write("ms_aubert.rtf", rtf_document("Liber de herbis {Auberti}", AUBERT))
    write("ms_aubert_trad.rtf", rtf_document("Le livre des herbes", AUBERT_TRAD))
    write("ms_aubert_trad2.rtf", rtf_document("Le livre des herbes (abr\u00e9g\u00e9)", AUBERT_TRAD2))
    write("vita_clerici.txt", text_document(VITA))
    write("vita_clerici_trad.txt", text_document(VITA_TRAD))
    write("vita_clerici_trad2.txt", text_document(VITA_TRAD2))
    write("carnet_jehan.rtf", rtf_document("Carnet de route", CARNET, converted=True))
    write("livre_viandes.txt", text_document(RECETTES))
    corpus = ["sample/ms_aubert.rtf", "sample/vita_clerici.txt", "sample/carnet_jehan.rtf",
              "sample/livre_viandes.txt"]
    with open(os.path.join(DATA, "sample.cor"), "wb") as f:
        f.write("".join(c + "\r\n" for c in corpus).encode("cp1252"))


if __name__ == "__main__":
    main()
