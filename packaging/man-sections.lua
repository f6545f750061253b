-- Makes the man page from its outline, packaging/quorva.1.md.in (the document pandoc reads),
-- and the manual, docs/manual.md (named by the metadata field "manual"): a comment
-- <!-- manual: Heading --> in the outline stands for the body of the manual's section of that
-- heading, its subsections one level up. Every section of the manual must stand somewhere, once.
--
-- For a terminal of any width, and as man pages write them: a table becomes a list of terms,
-- its first column the term and its other columns the text (a third column, the default, on a
-- line of its own); a switch in a term is bold with its value in italics right after it
-- (-ubf file, --report=FILE); a link keeps only its text, and a picture goes.

local function read_manual(path)
  local file = assert(io.open(path, 'r'))
  local text = file:read('a')
  file:close()
  local sections, names = {}, {}
  local current
  for _, block in ipairs(pandoc.read(text, 'gfm').blocks) do
    if block.t == 'Header' and block.level == 2 then
      current = pandoc.utils.stringify(block)
      sections[current] = pandoc.List()
      table.insert(names, current)
    elseif current and block.t == 'Header' then
      block.level = block.level - 1
      sections[current]:insert(block)
    elseif current then
      sections[current]:insert(block)
    end
  end
  return sections, names
end

-- A switch in a term: "--report=FILE" is the option in bold and FILE in italics; any other
-- code is bold. The value of "-ubf" *file* is in italics in the manual already.
local function term_inlines(inlines)
  return pandoc.walk_inline(pandoc.Span(inlines), {
    Code = function(code)
      local option, value = code.text:match('^(%-%-[%w-]+=)(.+)$')
      if option then
        return {pandoc.Strong(pandoc.Str(option)), pandoc.Emph(pandoc.Str(value))}
      end
      return pandoc.Strong(pandoc.Str(code.text))
    end,
  }).content
end

local function cell_inlines(blocks)
  local inlines = pandoc.List()
  for _, block in ipairs(blocks) do
    if block.content then inlines:extend(block.content) end
  end
  return inlines
end

local function table_as_terms(tbl)
  local simple = pandoc.utils.to_simple_table(tbl)
  local items = {}
  for _, row in ipairs(simple.rows) do
    local definition = pandoc.List()
    for column = 2, #row do
      local text = cell_inlines(row[column])
      if #text > 0 then
        if column > 2 then
          local name = pandoc.utils.stringify(simple.headers[column])
          text = pandoc.List({pandoc.Str(name .. ':'), pandoc.Space()}) .. text
        end
        definition:insert(pandoc.Plain(text))
      end
    end
    table.insert(items, {term_inlines(cell_inlines(row[1])), {definition}})
  end
  return pandoc.DefinitionList(items)
end

local for_man = {
  Table = table_as_terms,
  Link = function(link) return link.content end,
  Image = function() return {} end,
}

function Pandoc(doc)
  local manual = pandoc.utils.stringify(doc.meta.manual or '')
  if manual == '' then error('man-sections.lua: no metadata field "manual"') end
  local sections, names = read_manual(manual)
  local placed = {}
  local blocks = pandoc.List()
  for _, block in ipairs(doc.blocks) do
    local name = block.t == 'RawBlock' and block.text:match('^<!%-%- manual: (.-) %-%->%s*$')
    if name then
      if not sections[name] then error('man-sections.lua: the manual has no section ' .. name) end
      if placed[name] then error('man-sections.lua: the section ' .. name .. ' stands twice') end
      placed[name] = true
      blocks:extend(sections[name])
    else
      blocks:insert(block)
    end
  end
  for _, name in ipairs(names) do
    if not placed[name] then
      error('man-sections.lua: the man page has no place for the manual\'s section ' .. name)
    end
  end
  -- A paragraph that held only a picture is left empty.
  local body = pandoc.walk_block(pandoc.Div(blocks), for_man).content:filter(function(block)
    return not (block.t == 'Para' and #block.content == 0)
  end)
  return pandoc.Pandoc(body, doc.meta)
end
