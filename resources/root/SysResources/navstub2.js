
// Rollover buttons without a Selected state. The generated part before this text has defined
// tr, reg, evs, turn_over and turn_off and the variables clicked and gtype and loc; it calls
// writeButton once per button, which works because function declarations are usable before
// their text.

// Text for an HTML attribute in double quotes.
function navAttr(text) {
  return String(text).replace(/&(?!#?\w+;)/g, "&amp;").replace(/"/g, "&#34;").replace(/</g, "&lt;");
}

function writeButton(prefix, url, image, width, height, alt, target, offset) {
  var name = image;
  var href = url == "" ? "" : prefix + url;
  reg(image, name);
  var cell = "<td";
  if (offset < 0) cell += " align=\"right\"";
  else if (offset > 0) cell += " style=\"padding-left:" + offset + "px\"";
  cell += ">";
  var link = "<a" + (href != "" ? " href=\"" + navAttr(href) + "\"" : "") +
      (target != "" ? " target=\"" + navAttr(target) + "\"" : "") + evs(name) + ">";
  var img = "<img name=\"" + navAttr(name) + "\" src=\"" + navAttr(loc + image + gtype) +
      "\" alt=\"" + alt + "\" width=\"" + width + "\" height=\"" + height + "\" border=\"0\">";
  tr(true);
  document.write(cell + link + img + "</a></td>");
  tr(false);
}
