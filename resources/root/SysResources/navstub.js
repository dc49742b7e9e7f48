
// Rollover buttons with a Selected state. The generated part before this text has defined
// tr, reg, evs, turn_over, turn_off (and pick when clicks move the selection) and the
// variables clicked, gtype, selstate and loc; it calls writeButton once per button, which
// works because function declarations are usable before their text.

// Text for an HTML attribute in double quotes.
function navAttr(text) {
  return String(text).replace(/&(?!#?\w+;)/g, "&amp;").replace(/"/g, "&#34;").replace(/</g, "&lt;");
}

// True when href leads to the page being shown (its query and fragment aside).
function navIsCurrentPage(href) {
  if (href == "" || /^javascript:/i.test(href)) return false;
  var a = document.createElement("a");
  a.href = href;
  var strip = function (u) { return String(u).replace(/[?#].*$/, ""); };
  return strip(a.href) == strip(window.location.href);
}

function writeButton(prefix, url, image, width, height, alt, target, offset) {
  var name = image;
  var href = url == "" ? "" : prefix + url;
  reg(image, name);
  var state = "";
  if (selstate != "" && clicked == "" && navIsCurrentPage(href)) {
    state = selstate;
    clicked = name;
  }
  var cell = "<td";
  if (offset < 0) cell += " align=\"right\"";
  else if (offset > 0) cell += " style=\"padding-left:" + offset + "px\"";
  cell += ">";
  var link = "<a" + (href != "" ? " href=\"" + navAttr(href) + "\"" : "") +
      (target != "" ? " target=\"" + navAttr(target) + "\"" : "") + evs(name) + ">";
  var img = "<img name=\"" + navAttr(name) + "\" src=\"" + navAttr(loc + image + state + gtype) +
      "\" alt=\"" + alt + "\" width=\"" + width + "\" height=\"" + height + "\" border=\"0\">";
  tr(true);
  document.write(cell + link + img + "</a></td>");
  tr(false);
}
