-- Shapes the manual for a man page: section headings in capitals, as man pages spell them, and
-- tables whose first column is narrow and whose columns leave room for tbl's gaps within an
-- 80-column terminal.
function Header(header)
  if header.level == 1 then
    return pandoc.walk_block(header, {
      Str = function(str) return pandoc.Str(pandoc.text.upper(str.text)) end,
      Code = function(code) return pandoc.Code(pandoc.text.upper(code.text)) end,
    })
  end
end

local widths = {[2] = {0.24, 0.64}, [3] = {0.22, 0.46, 0.2}}

function Table(table)
  local shares = widths[#table.colspecs]
  if shares then
    for i, colspec in ipairs(table.colspecs) do
      table.colspecs[i] = {colspec[1], shares[i]}
    end
  end
  return table
end
